#pragma once

#include <string>

#include "model/errors.h"
#include "model/files/rewrite_session.h"

namespace morvane::ui {

// What the window tells a person of a refusal or failure: one plain sentence
// in their language, then on a line of its own what to do where there is
// something to do; and, for whoever wants it, the technical line that
// morvane-cli prints, in English.
struct PlainMessage {
    std::string text;
    std::string details;
};

// For a rewrite that was refused or failed.
PlainMessage PlainMessageFor(const RewriteOutcome& outcome);
// For a model that cannot be opened at all.
PlainMessage PlainMessageFor(const FileError& error);

}  // namespace morvane::ui
