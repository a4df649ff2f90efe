#include "control_factory.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include "platform/translation.h"
#include "widgets.h"

namespace morvane::ui {
namespace {

QString TranslatedText(std::string_view context, std::string_view english) {
    return english.empty() ? QString() : QString::fromStdString(Tr(context, english));
}

QWidget* CreateButton(QWidget& parent, const res::ControlTemplate& control, const QString& text) {
    auto* button = new QPushButton(text, &parent);
    button->setDefault(control.kind == res::ControlKind::DefaultPushButton);
    return button;
}

QWidget* CreateEdit(QWidget& parent, const res::ControlTemplate& control, const QString& text) {
    auto* edit = new QLineEdit(text, &parent);
    edit->setReadOnly(control.kind == res::ControlKind::ReadOnlyEdit);
    edit->setFrame((control.style & res::kBorder) != 0);
    return edit;
}

QWidget* CreateStaticText(QWidget& parent, const QString& text) {
    auto* label = new QLabel(text, &parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

// An icon keeps its own size whatever the rectangle says; only the
// rectangle's corner places it.
QWidget* CreateStaticIcon(QWidget& parent, const res::ControlTemplate& control) {
    auto* label = new QLabel(&parent);
    const int size = parent.style()->pixelMetric(QStyle::PM_LargeIconSize);
    label->setPixmap(LoadQIcon(control.iconId).pixmap(size, size));
    label->setFixedSize(size, size);
    return label;
}

QWidget* CreateWidget(QWidget& parent, const res::ControlTemplate& control, const QString& text) {
    switch (control.kind) {
        case res::ControlKind::PushButton:
        case res::ControlKind::DefaultPushButton:
            return CreateButton(parent, control, text);
        case res::ControlKind::Edit:
        case res::ControlKind::ReadOnlyEdit:
            return CreateEdit(parent, control, text);
        case res::ControlKind::StaticText:
            return CreateStaticText(parent, text);
        case res::ControlKind::StaticIcon:
            return CreateStaticIcon(parent, control);
    }
    return nullptr;
}

void Place(QWidget& widget, const res::ControlTemplate& control, DialogBaseUnits units) {
    const QRect pixels = ToPixels(control.rect, units);
    if (control.kind == res::ControlKind::StaticIcon) {
        widget.move(pixels.topLeft());
    } else {
        widget.setGeometry(pixels);
    }
}

}  // namespace

QWidget* CreateControl(QWidget& parent, const res::ControlTemplate& control,
                       std::string_view context, DialogBaseUnits units) {
    QWidget* widget = CreateWidget(parent, control, TranslatedText(context, control.text));
    widget->setObjectName(ResourceText(control.name));
    if (!control.accessibleName.empty()) {
        widget->setAccessibleName(TranslatedText(context, control.accessibleName));
    }
    widget->setFocusPolicy((control.style & res::kTabStop) != 0 ? Qt::StrongFocus : Qt::NoFocus);
    Place(*widget, control, units);
    return widget;
}

}  // namespace morvane::ui
