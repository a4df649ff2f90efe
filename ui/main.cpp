#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "collision_app.h"
#include "platform/app.h"
#include "startup/program_arguments.h"
#include "startup/standard_streams.h"
#include "window_arguments.h"

namespace {

std::vector<std::string> WordsAfterTheProgramName(int argc, char** argv) {
    std::vector<std::string> words = morvane::ProgramArguments(argc, argv);
    words.erase(words.begin(), words.begin() + std::min<std::ptrdiff_t>(1, std::ssize(words)));
    return words;
}

morvane::ui::TextKind KindOfText(const morvane::ui::WindowRequest& request) {
    namespace ui = morvane::ui;
    switch (request.kind) {
        case ui::WindowRequest::Kind::Help:
            return ui::TextKind::Usage;
        case ui::WindowRequest::Kind::UsageError:
            return ui::TextKind::Problem;
        case ui::WindowRequest::Kind::Version:
        case ui::WindowRequest::Kind::OpenWindow:
            break;
    }
    return ui::TextKind::Note;
}

}  // namespace

// The trace of a save goes to standard output: where the program was started
// with it redirected, there; from Explorer on Windows, which gives the window
// none, nowhere.
int main(int argc, char** argv) {
    namespace ui = morvane::ui;
    if (!morvane::EnsureStandardStreamsOpen()) {
        return EXIT_FAILURE;
    }
    // Answered without a window, as from a terminal.
    const ui::WindowRequest request = ui::ReadWindowArguments(WordsAfterTheProgramName(argc, argv));
    if (request.kind != ui::WindowRequest::Kind::OpenWindow) {
        ui::TellWithoutWindow(ui::TextWithoutWindow(request), KindOfText(request));
        return ui::ExitStatusWithoutWindow(request);
    }
    if (!ui::CanOpenWindows(argc, argv)) {
        return EXIT_FAILURE;
    }
    // The toolkit takes the whole command line and removes its own options;
    // the window runs modally, and the program ends when it closes.
    ui::CCollisionApp app(argc, argv, request.models);
    app.InitInstance();
    return EXIT_SUCCESS;
}
