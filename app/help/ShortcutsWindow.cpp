#include "app/help/ShortcutsWindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QSet>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// "&Open Track..." reads "Open Track"; a doubled "&" is a real one.
QString Plain(QString text) {
    text.replace(QStringLiteral("&&"), QChar(0x1));
    text.remove(QLatin1Char('&'));
    text.replace(QChar(0x1), QLatin1Char('&'));
    if (text.endsWith(QStringLiteral("...")))
        text.chop(3);
    else if (text.endsWith(QChar(0x2026)))
        text.chop(1);
    return text.trimmed();
}

QString Keys(const QList<QKeySequence>& sequences) {
    QStringList keys;
    for (const QKeySequence& sequence : sequences)
        keys << sequence.toString(QKeySequence::NativeText);
    return keys.join(QStringLiteral(", "));
}

// The name a user knows a command by; an action with a shortcut and no text is still listed.
QString CommandName(const QAction* action) {
    for (const QString& name : {action->text(), action->toolTip(), action->whatsThis()}) {
        if (!Plain(name).isEmpty())
            return Plain(name);
    }
    return QObject::tr("Unnamed command");
}

void FromMenu(const QMenu* menu, const QString& path, const QString& where,
              QList<ShortcutEntry>& entries, QSet<const QAction*>& seen) {
    for (const QAction* action : menu->actions()) {
        seen.insert(action);
        if (action->isSeparator())
            continue;
        const QString name = QObject::tr("%1 > %2").arg(path, Plain(action->text()));
        if (action->menu() != nullptr)
            FromMenu(action->menu(), name, where, entries, seen);
        else if (!action->shortcuts().isEmpty())
            entries.append({where, name, Keys(action->shortcuts())});
    }
}

void FromWindow(const QWidget* window, const QString& where, QList<ShortcutEntry>& entries,
                QSet<const QAction*>& seen) {
    QList<QAction*> actions = window->actions();
    actions += window->findChildren<QAction*>();
    for (const QAction* action : actions) {
        if (seen.contains(action) || action->shortcuts().isEmpty())
            continue;
        seen.insert(action);
        entries.append({where, CommandName(action), Keys(action->shortcuts())});
    }
    for (const QShortcut* shortcut : window->findChildren<QShortcut*>()) {
        if (!shortcut->key().isEmpty())
            entries.append({where,
                            Plain(shortcut->whatsThis()).isEmpty() ? QObject::tr("Unnamed command")
                                                                   : Plain(shortcut->whatsThis()),
                            Keys(shortcut->keys())});
    }
    // Alt and the underlined letter press a button or go to a label's field.
    for (const QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        const QKeySequence key = QKeySequence::mnemonic(button->text());
        if (!key.isEmpty())
            entries.append({where, Plain(button->text()), Keys({key})});
    }
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        const QKeySequence key = QKeySequence::mnemonic(label->text());
        if (label->buddy() != nullptr && !key.isEmpty())
            entries.append({where, Plain(label->text()), Keys({key})});
    }
}

bool IsOrdinaryWindow(const QWidget* widget) {
    const Qt::WindowType type = widget->windowType();
    return type != Qt::Popup && type != Qt::ToolTip && type != Qt::Desktop &&
           qobject_cast<const QMenu*>(widget) == nullptr &&
           widget->objectName() != QStringLiteral("shortcutsWindow");
}

void Fill(QTreeWidget* tree, const QList<ShortcutEntry>& entries) {
    tree->clear();
    QTreeWidgetItem* group = nullptr;
    for (const ShortcutEntry& entry : entries) {
        if (group == nullptr || group->text(0) != entry.where) {
            group = new QTreeWidgetItem(tree, {entry.where});
            QFont bold = group->font(0);
            bold.setBold(true);
            group->setFont(0, bold);
            group->setFirstColumnSpanned(true);
        }
        new QTreeWidgetItem(group, {entry.command, entry.keys});
    }
    tree->expandAll();
    tree->resizeColumnToContents(0);
}

} // namespace

QList<ShortcutEntry> CollectShortcuts(QWidget* mainWindow) {
    QList<ShortcutEntry> entries;
    QSet<const QAction*> seen;
    if (const auto* menuBar = mainWindow->findChild<QMenuBar*>(QStringLiteral("menuBar"))) {
        const QString where = QObject::tr("Menus");
        for (const QAction* action : menuBar->actions()) {
            seen.insert(action);
            const QKeySequence key = QKeySequence::mnemonic(action->text());
            if (!key.isEmpty())
                entries.append(
                    {where, QObject::tr("%1 menu").arg(Plain(action->text())), Keys({key})});
            if (action->menu() != nullptr)
                FromMenu(action->menu(), Plain(action->text()), where, entries, seen);
        }
    }
    FromWindow(mainWindow, QObject::tr("Main window"), entries, seen);
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        if (window != mainWindow && IsOrdinaryWindow(window))
            FromWindow(window, window->windowTitle(), entries, seen);
    }
    return entries;
}

void ShowShortcutsWindow(QWidget* mainWindow) {
    static QPointer<QDialog> s_window;
    if (s_window.isNull()) {
        s_window = new QDialog(mainWindow, Qt::Window);
        s_window->setObjectName(QStringLiteral("shortcutsWindow"));
        s_window->setWindowTitle(QObject::tr("Kartavo - Keyboard Shortcuts"));
        auto* tree = new QTreeWidget(s_window);
        tree->setObjectName(QStringLiteral("shortcutsList"));
        tree->setHeaderLabels({QObject::tr("Command"), QObject::tr("Keys")});
        tree->setRootIsDecorated(false);
        tree->setUniformRowHeights(true);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, s_window);
        QObject::connect(buttons, &QDialogButtonBox::rejected, s_window, &QDialog::close);
        auto* layout = new QVBoxLayout(s_window);
        layout->addWidget(tree);
        layout->addWidget(buttons);
        s_window->resize(520, 460);
    }
    // Windows opened since the last time add their shortcuts.
    Fill(s_window->findChild<QTreeWidget*>(QStringLiteral("shortcutsList")),
         CollectShortcuts(mainWindow));
    s_window->show();
    s_window->raise();
    s_window->activateWindow();
}
