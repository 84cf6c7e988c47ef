#include "message_box.h"

#include "texts.h"

#include <QMessageBox>
#include <QPushButton>

namespace kelvork::ui {
namespace {

MessageBoxHook& hook()
{
    static MessageBoxHook h;
    return h;
}

bool show(QWidget* parent, MessageKind kind, const QString& text)
{
    const QString caption = captionFor(kind);
    if (hook())
        return hook()(kind, caption, text);

    QMessageBox box(parent);
    box.setWindowTitle(caption);
    box.setText(text);
    switch (kind) {
    case MessageKind::Warning: box.setIcon(QMessageBox::Warning); break;
    case MessageKind::Notice: box.setIcon(QMessageBox::Information); break;
    case MessageKind::Confirmation: box.setIcon(QMessageBox::Question); break;
    }
    if (kind == MessageKind::Confirmation) {
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Cancel);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    box.setFont(texts::screenFont());
    return box.exec() == QMessageBox::Ok;
}

} // namespace

QString captionFor(MessageKind kind)
{
    if (kind == MessageKind::Confirmation)
        return texts::resource("MsgCaption2", "请确认...");
    return texts::resource("MsgCaption1", "提示信息");
}

void showWarning(QWidget* parent, const QString& text) { show(parent, MessageKind::Warning, text); }
void showNotice(QWidget* parent, const QString& text) { show(parent, MessageKind::Notice, text); }
bool confirm(QWidget* parent, const QString& text) { return show(parent, MessageKind::Confirmation, text); }

MessageBoxHook setMessageBoxHook(MessageBoxHook h)
{
    MessageBoxHook previous = std::move(hook());
    hook() = std::move(h);
    return previous;
}

} // namespace kelvork::ui
