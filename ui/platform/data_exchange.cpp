#include "platform/data_exchange.h"

#include <charconv>

#include "platform/dialog.h"
#include "platform/edit_control.h"

namespace morvane::ui {
namespace {

std::string_view Trimmed(std::string_view text) {
    constexpr std::string_view kSpace = " \t\n\v\f\r";
    const std::size_t first = text.find_first_not_of(kSpace);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

}  // namespace

void CDataExchange::Fail(const std::string& message) {
    m_dialog.ShowMessage(MessageKind::Warning, message);
    if (m_lastEditId != 0) {
        m_dialog.GotoDlgCtrl(m_lastEditId);
    }
    throw DataExchangeFailed{};
}

void DDX_Control(CDataExchange& dx, int id, CEdit& control) {
    if (!control.IsAttached()) {
        control.Attach(dx.Dialog(), id);
    }
}

void DDX_Text(CDataExchange& dx, int id, int& value) {
    dx.PrepareEditCtrl(id);
    if (!dx.SaveAndValidate()) {
        dx.Dialog().SetDlgItemText(id, std::to_string(value));
        return;
    }
    const std::optional<int> parsed = ParseWholeNumber(dx.Dialog().GetDlgItemText(id));
    if (!parsed) {
        dx.Fail("Please enter a whole number.");
    }
    value = *parsed;
}

void DDV_MinMaxInt(CDataExchange& dx, int value, int minimum, int maximum) {
    if (dx.SaveAndValidate() && (value < minimum || value > maximum)) {
        dx.Fail("Please enter a whole number from " + std::to_string(minimum) + " to " +
                std::to_string(maximum) + ".");
    }
}

std::optional<int> ParseWholeNumber(std::string_view text) {
    std::string_view digits = Trimmed(text);
    if (digits.starts_with('+') && !digits.starts_with("+-")) {
        digits.remove_prefix(1);
    }
    const char* const end = digits.data() + digits.size();
    int value = 0;
    const auto [stop, error] = std::from_chars(digits.data(), end, value);
    if (digits.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

}  // namespace morvane::ui
