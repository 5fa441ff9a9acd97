#include "app/FeatureMenus.h"

#include "formats/PictureFormats.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QString>

using PictureFormats::SidecarName;
using PictureFormats::WriteSetting;
using PictureFormats::WriteTarget;

namespace {

template <typename Value>
void AddChoice(QMenu* menu, QActionGroup* group, const QString& text, const char* name, Value value,
               Value current, void (*store)(WriteSetting&, Value)) {
    QAction* action = menu->addAction(text);
    action->setObjectName(QLatin1String(name));
    action->setCheckable(true);
    action->setChecked(value == current);
    group->addAction(action);
    QObject::connect(action, &QAction::triggered, action, [value, store] {
        // Read afresh: the other half of the setting may have changed meanwhile.
        WriteSetting setting = PictureFormats::ReadWriteSetting();
        store(setting, value);
        PictureFormats::SaveWriteSetting(setting);
    });
}

} // namespace

void AddFormatsMenu(QWidget* mainWindow) {
    QMenu* picture = MainMenu(mainWindow, QStringLiteral("&Picture"));
    if (picture == nullptr)
        return;
    const WriteSetting setting = PictureFormats::ReadWriteSetting();
    QMenu* menu = picture->addMenu(QStringLiteral("&Write Positions Into"));
    menu->setObjectName(QStringLiteral("writePositionsInto"));

    auto* targets = new QActionGroup(menu);
    const auto storeTarget = [](WriteSetting& s, WriteTarget t) { s.target = t; };
    AddChoice(menu, targets, QStringLiteral("The &Picture Itself"), "writeIntoPicture",
              WriteTarget::Picture, setting.target, +storeTarget);
    AddChoice(menu, targets, QStringLiteral("An &XMP Sidecar Beside It"), "writeIntoSidecar",
              WriteTarget::Sidecar, setting.target, +storeTarget);
    AddChoice(menu, targets, QStringLiteral("The Picture, a Sidecar for &RAW Files"),
              "writeIntoPictureExceptRaw", WriteTarget::PictureExceptRaw, setting.target,
              +storeTarget);

    menu->addSeparator();
    auto* names = new QActionGroup(menu);
    const auto storeName = [](WriteSetting& s, SidecarName n) { s.name = n; };
    AddChoice(menu, names, QStringLiteral("Sidecar Named NAME.xmp"), "sidecarNameBase",
              SidecarName::Base, setting.name, +storeName);
    AddChoice(menu, names, QStringLiteral("Sidecar Named NAME.EXT.xmp"), "sidecarNameFull",
              SidecarName::Full, setting.name, +storeName);
}
