#include "app/FeatureMenus.h"

#include "formats/PictureFormats.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QMenu>
#include <QString>

#include <cstddef>

using PictureFormats::SidecarName;
using PictureFormats::WriteSetting;
using PictureFormats::WriteTarget;

namespace {

template <typename Value> struct Choice {
    const char* text;
    const char* name;
    Value value;
};

// One exclusive group of checkable entries; choosing one stores it at once.
template <typename Value, std::size_t N>
void AddChoices(QMenu* menu, const Choice<Value> (&choices)[N], Value current,
                void (*store)(WriteSetting&, Value)) {
    auto* group = new QActionGroup(menu);
    for (const Choice<Value>& choice : choices) {
        QAction* action = menu->addAction(QCoreApplication::translate("QObject", choice.text));
        action->setObjectName(QLatin1String(choice.name));
        action->setCheckable(true);
        action->setChecked(choice.value == current);
        group->addAction(action);
        const Value value = choice.value;
        QObject::connect(action, &QAction::triggered, action, [value, store] {
            // Read afresh: the other half of the setting may have changed meanwhile.
            WriteSetting setting = PictureFormats::ReadWriteSetting();
            store(setting, value);
            PictureFormats::SaveWriteSetting(setting);
        });
    }
}

const Choice<WriteTarget> kTargets[] = {
    {QT_TRANSLATE_NOOP("QObject", "The &Picture Itself"), "writeIntoPicture", WriteTarget::Picture},
    {QT_TRANSLATE_NOOP("QObject", "An &XMP Sidecar Beside It"), "writeIntoSidecar",
     WriteTarget::Sidecar},
    {QT_TRANSLATE_NOOP("QObject", "The Picture, a Sidecar for &RAW Files"),
     "writeIntoPictureExceptRaw", WriteTarget::PictureExceptRaw}};

const Choice<SidecarName> kNames[] = {
    {QT_TRANSLATE_NOOP("QObject", "Sidecar Named NAME.xmp"), "sidecarNameBase", SidecarName::Base},
    {QT_TRANSLATE_NOOP("QObject", "Sidecar Named NAME.EXT.xmp"), "sidecarNameFull",
     SidecarName::Full}};

} // namespace

void AddFormatsMenu(QWidget* mainWindow) {
    QMenu* picture = MainMenu(mainWindow, QObject::tr("&Picture"));
    if (picture == nullptr)
        return;
    const WriteSetting setting = PictureFormats::ReadWriteSetting();
    QMenu* menu = picture->addMenu(QObject::tr("&Write Positions Into"));
    menu->setObjectName(QStringLiteral("writePositionsInto"));
    AddChoices(
        menu, kTargets, setting.target,
        +[](WriteSetting& s, WriteTarget target) { s.target = target; });
    menu->addSeparator();
    AddChoices(
        menu, kNames, setting.name, +[](WriteSetting& s, SidecarName name) { s.name = name; });
}
