#include "apply_texts.h"

#include "texts.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QTabWidget>
#include <QTableView>
#include <QTreeView>
#include <QWidget>

namespace kelvork::texts {

namespace {

const QString kCaption = QStringLiteral(".Caption");
const QString kHint = QStringLiteral(".Hint");

bool skipped(const QObject* object)
{
    const QString name = object->objectName();
    return name.isEmpty() || name.startsWith(QStringLiteral("qt_"))
        || object->property(kNoTextsProperty).toBool();
}

bool isSharedToolbarAction(const QString& name)
{
    static const QStringList shared{QStringLiteral("T_Insert"), QStringLiteral("T_Del"),
                                    QStringLiteral("T_Edit"), QStringLiteral("T_Save"),
                                    QStringLiteral("T_Cancel")};
    return shared.contains(name);
}

void applyItems(QWidget* widget, const QString& section)
{
    QStringList current;
    auto* combo = qobject_cast<QComboBox*>(widget);
    auto* list = qobject_cast<QListWidget*>(widget);
    if (combo) {
        for (int i = 0; i < combo->count(); ++i)
            current << combo->itemText(i);
    } else if (list) {
        for (int i = 0; i < list->count(); ++i)
            current << list->item(i)->text();
    } else {
        return;
    }
    const QString text = lookup(section, widget->objectName() + QStringLiteral(".Items.Text"),
                                current.join(QLatin1Char('\n')));
    if (text.isEmpty())
        return;
    QStringList items = text.split(QLatin1Char('\n'));
    if (items.size() > 1 && items.last().isEmpty())
        items.removeLast();  // a closing line break does not make an empty item
    for (int i = 0; i < items.size(); ++i) {
        if (combo) {
            if (i < combo->count())
                combo->setItemText(i, items[i]);
            else
                combo->addItem(items[i]);
        } else if (i < list->count()) {
            list->item(i)->setText(items[i]);
        } else {
            list->addItem(items[i]);
        }
    }
}

void applyColumns(QAbstractItemView* view, const QString& section)
{
    QAbstractItemModel* model = view->model();
    if (!model)
        return;
    const QStringList names = view->property(kColumnNamesProperty).toStringList();
    for (int column = 0; column < model->columnCount(); ++column) {
        const QString name = column < names.size()
            ? names[column]
            : view->objectName() + QStringLiteral("Column") + QString::number(column + 1);
        if (name.isEmpty())
            continue;
        const QString current = model->headerData(column, Qt::Horizontal).toString();
        const QString text = lookup(section, name + kCaption, current);
        if (text != current)
            model->setHeaderData(column, Qt::Horizontal, text);
    }
}

void applyWidget(QWidget* widget, const QString& section)
{
    const QString name = widget->objectName();
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        if (!label->text().isEmpty())  // a picture label keeps its picture
            label->setText(lookup(section, name + kCaption, label->text()));
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        const QString text = lookup(section, name + kCaption, button->text());
        if (text != button->text())
            button->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        group->setTitle(lookup(section, name + kCaption, group->title()));
    } else if (auto* tabs = qobject_cast<QTabWidget*>(widget)) {
        for (int i = 0; i < tabs->count(); ++i) {
            const QWidget* page = tabs->widget(i);
            if (!skipped(page))
                tabs->setTabText(i, lookup(section, page->objectName() + kCaption, tabs->tabText(i)));
        }
    } else if (qobject_cast<QComboBox*>(widget) || qobject_cast<QListWidget*>(widget)) {
        applyItems(widget, section);
    } else if (qobject_cast<QTableView*>(widget) || qobject_cast<QTreeView*>(widget)) {
        applyColumns(static_cast<QAbstractItemView*>(widget), section);
    } else if (auto* menu = qobject_cast<QMenu*>(widget)) {
        menu->setTitle(lookup(section, name + kCaption, menu->title()));
    }
    const QString hint = lookup(section, name + kHint, widget->toolTip());
    if (hint != widget->toolTip())
        widget->setToolTip(hint);
}

void applyAction(QAction* action, const QString& section)
{
    const QString name = action->objectName();
    const QString captionSection = isSharedToolbarAction(name) ? QStringLiteral("FrmUser") : section;
    action->setText(lookup(captionSection, name + kCaption, action->text()));
    // An action without its own tip reports its caption as the tip (without '&' and "..."):
    // that is no hint to look up.
    QString tip = action->toolTip();
    QString plainText = action->text();
    plainText.remove(QStringLiteral("..."));
    plainText.remove(QLatin1Char('&'));
    if (tip == plainText.trimmed() || tip == plainText)
        tip.clear();
    const QString hint = lookup(section, name + kHint, tip);
    if (!hint.isEmpty() && hint != tip)
        action->setToolTip(hint);
}

} // namespace

void applyToScreen(QWidget* screen, const QString& section)
{
    if (!screen)
        return;
    QFont font = screen->font();
    const QFont chosen = screenFont();
    font.setFamilies(QStringList{chosen.family()});
    if (chosen.pointSize() > 0)
        font.setPointSize(chosen.pointSize());
    screen->setFont(font);

    screen->setWindowTitle(lookup(section, screen->objectName() + kCaption, screen->windowTitle()));

    const auto widgets = screen->findChildren<QWidget*>();
    for (QWidget* widget : widgets)
        if (!skipped(widget))
            applyWidget(widget, section);
    const auto actions = screen->findChildren<QAction*>();
    for (QAction* action : actions)
        if (!skipped(action) && !action->isSeparator())
            applyAction(action, section);
}

} // namespace kelvork::texts
