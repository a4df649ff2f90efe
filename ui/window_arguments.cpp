#include "window_arguments.h"

#include "model/files/path_text.h"
#include "platform/app.h"
#include "resources/version.h"

namespace morvane::ui {

namespace {

constexpr int kExitUsage = 2;

// A toolkit option may stand as "-style fusion", "--style fusion" or
// "-style=fusion".
std::string_view OptionName(std::string_view word) {
    word.remove_prefix(word.starts_with("--") ? 2 : 1);
    return word.substr(0, word.find('='));
}

}  // namespace

WindowRequest ReadWindowArguments(const std::vector<std::string>& words) {
    WindowRequest request;
    bool options = true;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (!options || word.size() < 2 || !word.starts_with('-')) {
            request.models.push_back(PathFromText(word));
            continue;
        }
        if (word == "--") {
            options = false;
        } else if (word == "--help" || word == "-h") {
            return {WindowRequest::Kind::Help, {}, {}};
        } else if (word == "--version") {
            return {WindowRequest::Kind::Version, {}, {}};
        } else if (const std::optional<bool> takesValue = ToolkitOption(OptionName(word))) {
            if (*takesValue && word.find('=') == std::string::npos && ++i == words.size()) {
                return {WindowRequest::Kind::UsageError,
                        {},
                        "the option " + QuotedText(word) + " needs a value"};
            }
        } else {
            return {WindowRequest::Kind::UsageError, {}, "unknown option " + QuotedText(word)};
        }
    }
    return request;
}

std::string TextWithoutWindow(const WindowRequest& request) {
    switch (request.kind) {
        case WindowRequest::Kind::Help:
            return "Usage: morvane [OPTION]... [--] [MODEL]\n"
                   "Opens the window that adds a block of collision volumes to a ZRM model,\n"
                   "with MODEL chosen when it is given.\n\n"
                   "  --help     show this help and exit\n"
                   "  --version  show the version and exit\n"
                   "  --         end the options: what follows is a model, even if it begins "
                   "with '-'\n" +
                   std::string(ToolkitOptionsHelp()) +
                   "\nTo add collision volumes from a terminal, or to many models, use "
                   "morvane-cli.\n";
        case WindowRequest::Kind::Version:
            return "morvane " MORVANE_VERSION "\n";
        case WindowRequest::Kind::UsageError:
            return "morvane: " + request.problem + "\nRun 'morvane --help' for usage.\n";
        case WindowRequest::Kind::OpenWindow:
            break;
    }
    return "";
}

int ExitStatusWithoutWindow(const WindowRequest& request) {
    return request.kind == WindowRequest::Kind::UsageError ? kExitUsage : 0;
}

}  // namespace morvane::ui
