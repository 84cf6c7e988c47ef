// The progress window: its size, colour, top-most window without system buttons, and the text line.
#include "frm_process.h"

#include <QLabel>
#include <QProgressBar>
#include <gtest/gtest.h>

using kelvork::ui::TFrmProcess;

TEST(FrmProcess, SmallYellowTopmostWindowWithTextAndHiddenGauge)
{
    TFrmProcess w;
    w.setWindowTitle("Calculating");
    w.setText("Employee 12");
    w.show();
    EXPECT_EQ(w.size(), QSize(478, 61));
    EXPECT_TRUE(w.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(w.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(w.palette().color(QPalette::Window), QColor(0xFF, 0xFF, 0x80));
    auto* line = w.findChild<QLabel*>("N_Process");
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->text(), "Employee 12");
    EXPECT_TRUE(line->font().bold());
    auto* gauge = w.findChild<QProgressBar*>("G_Process");
    ASSERT_NE(gauge, nullptr);
    EXPECT_FALSE(gauge->isVisible());
    EXPECT_EQ(gauge, w.gauge());
}
