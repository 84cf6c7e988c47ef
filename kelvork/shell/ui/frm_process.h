#pragma once
// The progress window of long operations: a small light-yellow window on top of the others, without
// system buttons, with a bold text line N_Process and a gauge G_Process (hidden unless shown).
//
//   TFrmProcess progress(this);
//   progress.setWindowTitle(...); progress.setText(...); progress.show();
//   for (...) { progress.setText(step); ... }        // repainted at once

#include <QDialog>

class QLabel;
class QProgressBar;

namespace kelvork::ui {

class TFrmProcess : public QDialog {
    Q_OBJECT
public:
    explicit TFrmProcess(QWidget* parent = nullptr);

    // Sets the text line and repaints it at once (long work runs on the window thread).
    void setText(const QString& text);
    QString text() const;
    // The gauge; hidden until the caller shows it.
    QProgressBar* gauge() const { return G_Process; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* N_Process;
    QProgressBar* G_Process;
};

} // namespace kelvork::ui
