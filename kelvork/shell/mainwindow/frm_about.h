#pragma once
// The about box FrmAbout (400 x 215): one picture, program folder + "pngbmp/about.jpg" when that
// file exists; a click on the picture closes the box.

#include <QDialog>

class QLabel;

namespace kelvork::shell {

class TFrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFrmAbout(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* Image1;
};

} // namespace kelvork::shell
