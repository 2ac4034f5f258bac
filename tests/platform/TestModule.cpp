// A module for the loader tests to load: one known entry point.
extern "C" __attribute__((visibility("default"))) int kor_test_answer() {
    return 42;
}
