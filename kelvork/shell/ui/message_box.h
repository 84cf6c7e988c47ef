#pragma once
// The program's three message boxes. Every message the operator sees goes through one of them, so
// tests answer all of them in one place (setMessageBoxHook) instead of a real box.
//
//   ui::showWarning(this, texts::resource("LinkDBError", u"数据库连接失败，请重新配置数据库！"_s));
//   if (!ui::confirm(this, texts::resource("ExitSystem", ...))) return;

#include <QString>

#include <functional>

class QWidget;

namespace kelvork::ui {

enum class MessageKind {
    Warning,       // OK, caption MsgCaption1 ("提示信息"), warning sign
    Notice,        // OK, caption MsgCaption1, information sign
    Confirmation,  // OK/Cancel, caption MsgCaption2 ("请确认..."); only OK proceeds
};

// Shows `text` (already looked up by the caller) and waits for the operator.
void showWarning(QWidget* parent, const QString& text);
void showNotice(QWidget* parent, const QString& text);
// True when the operator chose OK.
bool confirm(QWidget* parent, const QString& text);

// The caption a box of `kind` carries, from the language file.
QString captionFor(MessageKind kind);

// While a hook is set no box is shown: the hook receives each message and answers it (its result
// is the operator's OK for a confirmation; ignored for the other kinds). An empty function removes
// the hook. Returns the hook it replaced.
using MessageBoxHook = std::function<bool(MessageKind kind, const QString& caption, const QString& text)>;
MessageBoxHook setMessageBoxHook(MessageBoxHook hook);

// Sets a hook for the lifetime of the object, restoring the previous one afterwards.
class ScopedMessageBoxHook {
public:
    explicit ScopedMessageBoxHook(MessageBoxHook hook) : previous_(setMessageBoxHook(std::move(hook))) {}
    ~ScopedMessageBoxHook() { setMessageBoxHook(std::move(previous_)); }
    ScopedMessageBoxHook(const ScopedMessageBoxHook&) = delete;
    ScopedMessageBoxHook& operator=(const ScopedMessageBoxHook&) = delete;

private:
    MessageBoxHook previous_;
};

} // namespace kelvork::ui
