// Fontconfig keeps its caches for the process and hands them to nobody at exit; LeakSanitizer
// reports them as leaks of every test that lays out text. They are not ours to free.
extern "C" const char* __lsan_default_suppressions();
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
