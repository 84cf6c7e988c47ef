#pragma once
// A fresh SQLite database, texts from an empty folder (built-in texts), every message box answered
// and recorded, and no logged-in operator: what the operator screens' tests start from.

#include "message_box.h"
#include "operator_store.h"
#include "password.h"
#include "rights.h"
#include "sys_config.h"
#include "test_database.h"
#include "texts.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace kelvork::operators::test {

struct Message {
    ui::MessageKind kind;
    QString text;
};

class OperatorFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tdb_.ok()) << tdb_.error().toStdString();
        texts::configure(textsDir_.path(), 1);
        config::setProgramFolder(textsDir_.path() + "/");
        CZY() = {};
    }
    void TearDown() override { CZY() = {}; }

    Database& db() { return tdb_.db(); }

    int addOperator(const QString& name, const QString& password,
                    const QString& authority = kAllRights, const QString& deptpower = "A1Z")
    {
        int id = 0;
        EXPECT_TRUE(insertOperator(db(), {0, name, scramblePassword(password), authority, deptpower}, &id).ok());
        return id;
    }
    void addDept(const QString& name, int sup)
    {
        ASSERT_TRUE(db().exec("insert into Dept (Deptname, SupDeptid) values (:N, :S)",
                              {{"N", name}, {"S", sup}}).ok());
    }
    // Writes the English language file and switches the texts to it.
    void writeLanguageFile(const QByteArray& content)
    {
        QFile file(textsDir_.filePath("Kelvork.en"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
        file.close();
        texts::configure(textsDir_.path(), 2);
    }
    QStringList texts() const
    {
        QStringList out;
        for (const Message& m : messages_)
            out << m.text;
        return out;
    }

    kelvork::testdb::TestDatabase tdb_{Engine::SQLite};
    QTemporaryDir textsDir_;
    QList<Message> messages_;
    bool confirmAnswer_ = true;  // the operator's OK or Cancel to the next confirmations
    ui::ScopedMessageBoxHook hook_{[this](ui::MessageKind kind, const QString&, const QString& text) {
        messages_.append({kind, text});
        return confirmAnswer_;
    }};
};

} // namespace kelvork::operators::test
