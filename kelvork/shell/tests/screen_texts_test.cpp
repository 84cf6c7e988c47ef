// The language files hold every key the main window, the about box and the connection dialog ask
// for, so the English and Traditional Chinese interfaces show no built-in Chinese text.
#include "data_module.h"
#include "frm_about.h"
#include "frm_datalink.h"
#include "frmmain.h"
#include "language_check.h"
#include "message_box.h"
#include "sys_config.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kelvork;

TEST(ScreenTexts, LanguageFilesHoldTheShellScreensKeys)
{
    QTemporaryDir home;
    config::setProgramFolder(home.path() + u'/');
    ui::ScopedMessageBoxHook hook([](ui::MessageKind, const QString&, const QString&) { return true; });
    TDM dm;
    {
        shell::Frmmain w(dm);
        ASSERT_TRUE(w.FormCreate());
        EXPECT_EQ(languages::missingScreenKeys(&w, "Frmmain").join("\n").toStdString(), "");
    }
    dm.close();
    shell::TFrmAbout about;
    EXPECT_EQ(languages::missingScreenKeys(&about, "FrmAbout").join("\n").toStdString(), "");
    shell::TFrmDataLink link(config::defaultConnectionString(home.path() + u'/'));
    EXPECT_EQ(languages::missingScreenKeys(&link, "FrmDataLink").join("\n").toStdString(), "");
}
