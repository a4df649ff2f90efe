#include <cstdlib>

#include "collision_app.h"
#include "startup/standard_streams.h"

// Started from Explorer the window has no standard output, and the trace goes
// nowhere; started with its output redirected, the trace goes there.
int main(int argc, char** argv) {
    if (!morvane::EnsureStandardStreamsOpen()) {
        return EXIT_FAILURE;
    }
    morvane::ui::CCollisionApp app(argc, argv);
    app.InitInstance();
    return EXIT_SUCCESS;
}
