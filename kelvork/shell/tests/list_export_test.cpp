// List export: the forced extension, the TAB-separated text, a real .xlsx, and the FileExist
// question that keeps the old file on Cancel.
#include "list_export.h"
#include "message_box.h"
#include "texts.h"

#include <QFile>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <zip.h>

using namespace kelvork::ui;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The text of one member of a zip file, empty when it is missing.
QByteArray zipMember(const QString& path, const char* member)
{
    int err = 0;
    zip_t* z = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &err);
    if (!z)
        return {};
    QByteArray out;
    if (zip_file_t* f = zip_fopen(z, member, 0)) {
        char buf[4096];
        zip_int64_t n;
        while ((n = zip_fread(f, buf, sizeof buf)) > 0)
            out.append(buf, qsizetype(n));
        zip_fclose(f);
    }
    zip_close(z);
    return out;
}

struct Grid {
    QStandardItemModel model{0, 3};
    QTableView view;
    Grid()
    {
        model.setHorizontalHeaderLabels({"工号", "姓名", "Hidden"});
        model.appendRow({new QStandardItem("12"), new QStandardItem("张三\t\"x\" 100%"), new QStandardItem("h")});
        auto* n = new QStandardItem;
        n->setData(7.5, Qt::EditRole);
        model.appendRow({n, new QStandardItem("李四"), new QStandardItem("h")});
        view.setModel(&model);
        view.setColumnHidden(2, true);
    }
};

} // namespace

TEST(ListExport, ExtensionIsForcedByTheChosenFilter)
{
    struct Case { const char* in; ExportFormat f; const char* out; };
    const Case cases[] = {
        {"/tmp/Report.dat", ExportFormat::Text, "/tmp/Report.txt"},
        {"/tmp/Report", ExportFormat::Text, "/tmp/Report.txt"},
        {"/tmp/Report.txt", ExportFormat::Text, "/tmp/Report.txt"},
        {"/tmp/Report.dat", ExportFormat::Spreadsheet, "/tmp/Report.xlsx"},
        {"/tmp/Report.xls", ExportFormat::Spreadsheet, "/tmp/Report.xlsx"},
        {"/tmp/a.b/Report", ExportFormat::Spreadsheet, "/tmp/a.b/Report.xlsx"},
        {"/tmp/.hidden", ExportFormat::Text, "/tmp/.hidden.txt"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(forceExportExtension(c.in, c.f), c.out) << c.in;
}

TEST(ListExport, FilterOffersTextAndXlsx)
{
    QTemporaryDir dir;
    kelvork::texts::configure(dir.path() + u'/', 1);
    EXPECT_EQ(exportFilter(), QStringLiteral("文本文档 (*.txt);;Microsoft Excel 文件 (*.xlsx)"));
    QFile f(dir.path() + "/Kelvork.en");   // an old language file naming *.xls still gets .xlsx
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Resource]\nSaveDialogOutFilter=Text (*.txt)|*.txt|Excel (*.xls)|*.xls\n");
    f.close();
    kelvork::texts::configure(dir.path() + u'/', 2);
    EXPECT_EQ(exportFilter(), "Text (*.txt);;Excel (*.xlsx)");
    kelvork::texts::configure(dir.path() + u'/', 1);
}

TEST(ListExport, TextExportWritesReportTxtAndTellsWhere)
{
    QTemporaryDir dir;
    kelvork::texts::configure(dir.path() + u'/', 1);
    Grid g;
    QStringList notices;
    ScopedMessageBoxHook hook([&](MessageKind, const QString&, const QString& t) { notices << t; return true; });
    const QString written = exportListTo(nullptr, &g.view, dir.path() + "/Report.dat", ExportFormat::Text);
    EXPECT_EQ(written, dir.path() + "/Report.txt");
    EXPECT_FALSE(QFile::exists(dir.path() + "/Report.dat"));
    EXPECT_EQ(QString::fromUtf8(readAll(written)),
              QStringLiteral("工号\t姓名\r\n12\t张三 \"x\" 100%\r\n7.5\t李四\r\n"));
    ASSERT_EQ(notices.size(), 1);
    EXPECT_EQ(notices[0], QStringLiteral("记录已成功导出到“ %1 ”").arg(written));
}

TEST(ListExport, ExistingFileIsReplacedOnlyAfterOk)
{
    QTemporaryDir dir;
    kelvork::texts::configure(dir.path() + u'/', 1);
    Grid g;
    const QString path = dir.path() + "/Report.txt";
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    QStringList asked;
    bool ok = false;
    ScopedMessageBoxHook hook([&](MessageKind k, const QString&, const QString& t) {
        if (k == MessageKind::Confirmation) asked << t;
        return ok;
    });
    EXPECT_TRUE(exportListTo(nullptr, &g.view, path, ExportFormat::Text).isEmpty());
    EXPECT_EQ(readAll(path), "old");
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked[0], QStringLiteral("此文件夹中已包含一个名为\" Report.txt \"的文件,\n是否替换现有文件?"));
    ok = true;
    EXPECT_EQ(exportListTo(nullptr, &g.view, path, ExportFormat::Text), path);
    EXPECT_TRUE(readAll(path).startsWith("\xe5\xb7\xa5"));   // 工
}

TEST(ListExport, SpreadsheetIsARealXlsx)
{
    QTemporaryDir dir;
    kelvork::texts::configure(dir.path() + u'/', 1);
    Grid g;
    ScopedMessageBoxHook hook([](MessageKind, const QString&, const QString&) { return true; });
    const QString written = exportListTo(nullptr, &g.view, dir.path() + "/Report.dat", ExportFormat::Spreadsheet);
    ASSERT_EQ(written, dir.path() + "/Report.xlsx");
    EXPECT_TRUE(readAll(written).startsWith("PK\x03\x04"));
    EXPECT_FALSE(QFile::exists(written + ".part"));
    const QByteArray strings = zipMember(written, "xl/sharedStrings.xml");
    EXPECT_TRUE(strings.contains("工号"));
    EXPECT_TRUE(strings.contains("李四"));
    EXPECT_FALSE(strings.contains(">h<")) << "hidden columns are not exported";
    const QByteArray sheet = zipMember(written, "xl/worksheets/sheet1.xml");
    EXPECT_TRUE(sheet.contains("<v>7.5</v>")) << "numbers stay numbers";
}

TEST(ListExport, UnwritableTargetIsReportedNotClaimed)
{
    QTemporaryDir dir;
    kelvork::texts::configure(dir.path() + u'/', 1);
    Grid g;
    QList<MessageKind> kinds;
    ScopedMessageBoxHook hook([&](MessageKind k, const QString&, const QString&) { kinds << k; return true; });
    for (ExportFormat f : {ExportFormat::Text, ExportFormat::Spreadsheet})
        EXPECT_TRUE(exportListTo(nullptr, &g.view, dir.path() + "/no/such/folder/R.txt", f).isEmpty());
    EXPECT_EQ(kinds, (QList<MessageKind>{MessageKind::Warning, MessageKind::Warning}));
}
