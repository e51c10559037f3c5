#pragma once

namespace CarvexPlatform {

// The thread that runs the user interface: the application object's thread, or, before there is
// one, the thread that started the process.
class MainThread {
public:
    static bool isCurrent();
};

}  // namespace CarvexPlatform
