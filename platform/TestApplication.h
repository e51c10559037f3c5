#pragma once

namespace CarvexPlatform {

// Test support: makes sure a QApplication exists on the calling (main) thread, so tests can use
// widgets, the palette and the event loop. Switches QStandardPaths to test mode first, so the
// standard settings of a test run never touch the user's own. Safe to call from every test.
class TestApplication {
public:
    static void ensure();
    // Runs the events already posted to the main thread's event loop.
    static void processEvents();
};

}  // namespace CarvexPlatform
