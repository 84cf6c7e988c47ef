// The three message-box kinds: captions from the language file, and the hook tests answer through.
#include "message_box.h"
#include "texts.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kelvork::ui;

TEST(MessageBox, KindsCarryTheirCaptionsAndTheHookAnswers)
{
    QTemporaryDir dir;
    kelvork::texts::configure(dir.path() + u'/', 1);   // no language file: built-in texts
    struct Seen { MessageKind kind; QString caption; QString text; };
    QList<Seen> seen;
    bool answer = false;
    ScopedMessageBoxHook hook([&](MessageKind k, const QString& c, const QString& t) {
        seen.push_back({k, c, t});
        return answer;
    });
    showWarning(nullptr, "w");
    showNotice(nullptr, "n");
    EXPECT_FALSE(confirm(nullptr, "c1"));
    answer = true;
    EXPECT_TRUE(confirm(nullptr, "c2"));
    ASSERT_EQ(seen.size(), 4);
    EXPECT_EQ(seen[0].kind, MessageKind::Warning);
    EXPECT_EQ(seen[0].caption, QStringLiteral("提示信息"));
    EXPECT_EQ(seen[1].kind, MessageKind::Notice);
    EXPECT_EQ(seen[1].caption, QStringLiteral("提示信息"));
    EXPECT_EQ(seen[2].kind, MessageKind::Confirmation);
    EXPECT_EQ(seen[2].caption, QStringLiteral("请确认..."));
    EXPECT_EQ(seen[3].text, "c2");
}

TEST(MessageBox, CaptionsFollowTheLanguageFile)
{
    QTemporaryDir dir;
    QFile f(dir.path() + "/Kelvork.en");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Resource]\nMsgCaption1=Information\nMsgCaption2=Please confirm...\n");
    f.close();
    kelvork::texts::configure(dir.path() + u'/', 2);
    EXPECT_EQ(captionFor(MessageKind::Notice), "Information");
    EXPECT_EQ(captionFor(MessageKind::Confirmation), "Please confirm...");
    kelvork::texts::configure(dir.path() + u'/', 1);
}
