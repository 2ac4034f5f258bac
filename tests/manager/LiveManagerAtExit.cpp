// A host that ends the process while a manager still holds the voice database, in the two ways a
// host can: std::exit with the manager on main's stack ("exit"), and returning from main with the
// manager a static object, torn down among the exit handlers ("static"). Answers 0 when the
// process ends cleanly, 2 when the manager cannot start, 3 for an unknown way.
#include <korman/korman.h>

#include <cstdlib>
#include <cstring>

namespace {

CZRKorManagerIF staticManager;

// The policy names no schema folder: the manager takes the schemas installed beside the library.
bool initialize(CZRKorManagerIF& manager) {
    return manager.sysInitialize(ZRKorManagementPolicy{}) == 1;
}

} // namespace

int main(int argc, char** argv) {
    const char* way = argc > 1 ? argv[1] : "";
    if (std::strcmp(way, "exit") == 0) {
        CZRKorManagerIF manager;
        if (!initialize(manager)) return 2;
        std::exit(0);
    }
    if (std::strcmp(way, "static") == 0) return initialize(staticManager) ? 0 : 2;
    return 3;
}
