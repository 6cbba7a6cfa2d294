// Wires the main-menu entries of the reference windows: enables each entry whose
// window exists and connects it to its handler.
#include "main_u.h"

#include "reference/abadiha_u.h"
#include "reference/phone_u.h"
#include "reference/setting_city_u.h"
#include "reference/setting_ost_u.h"
#include "reference/setting_u.h"

#include <QAction>

namespace tavrin {

namespace {
void wire(Tmain& main, const char* name, const std::function<void()>& handler)
{
    QAction* a = main.action(QString::fromLatin1(name));
    if (!a)
        return;
    a->setEnabled(true);
    QObject::connect(a, &QAction::triggered, &main, handler);
}
} // namespace

void wireReferenceMenu(Tmain& main)
{
    Tmain* m = &main;
    // "اطلاعات پايه" › "تنظيمات" › "شهرستان": governed by the provincial page's rights.
    wire(main, "N31", [m] { m->openPage<Tsetting_city>(QStringLiteral("setting_ost"), 0); });
    // "اطلاعات پايه" › "تنظيمات" › "استاني"
    wire(main, "N20", [m] { m->openPage<Tsetting_ost>(QStringLiteral("setting_ost"), 0); });
    // "اطلاعات پايه" › "تنظيمات" › "عمومي"
    wire(main, "N21", [m] { m->openPage<Tsetting>(QStringLiteral("seting"), 0); });
    // "اطلاعات پايه" › "تقسيمات کشوري": the list sized to the main window's height − 50.
    wire(main, "N14", [m] { m->openPage<Tabadiha>(QStringLiteral("abadiha"), 50); });
    // "اطلاعات پايه" › "دفترچه تلفن"
    wire(main, "N11", [m] { m->openPage<Tphone>(QStringLiteral("phone"), 0); });
}

} // namespace tavrin
