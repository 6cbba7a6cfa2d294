#include "applicantheaders.h"

namespace tavrin {

const QList<QPair<QString, QString>>& applicantHeadingList()
{
    static const QList<QPair<QString, QString>> headings = {
        {QStringLiteral("id"), QString::fromUtf16(u"شناسه")},
        {QStringLiteral("ostan"), QString::fromUtf16(u"استان")},
        {QStringLiteral("shahrestan"), QString::fromUtf16(u"شهرستان")},
        {QStringLiteral("shahr"), QString::fromUtf16(u"شهر")},
        {QStringLiteral("prj_name"), QString::fromUtf16(u"نام پروژه")},
        {QStringLiteral("prj_typ"), QString::fromUtf16(u"نوع پروژه")},
        {QStringLiteral("karbari"), QString::fromUtf16(u"کاربري")},
        {QStringLiteral("bolok"), QString::fromUtf16(u"شماره بلوک")},
        {QStringLiteral("tabaghe"), QString::fromUtf16(u"طبقه")},
        {QStringLiteral("vahed_no"), QString::fromUtf16(u"شماره واحد")},
        {QStringLiteral("shenase"), QString::fromUtf16(u"شناسه واحد")},
        {QStringLiteral("jahat"), QString::fromUtf16(u"جهت")},
        {QStringLiteral("metraj"), QString::fromUtf16(u"متراژ")},
        {QStringLiteral("parking"), QString::fromUtf16(u"جمع متراژ پارکينگ")},
        {QStringLiteral("anbari"), QString::fromUtf16(u"جمع متراژ انباري")},
        {QStringLiteral("mablagh"), QString::fromUtf16(u"مبلغ واحد")},
        {QStringLiteral("vam"), QString::fromUtf16(u"ميزان وام")},
        {QStringLiteral("pardakht_sum"), QString::fromUtf16(u"جمع پرداخت ها")},
        {QStringLiteral("fname"), QString::fromUtf16(u"نام")},
        {QStringLiteral("lname"), QString::fromUtf16(u"نام خانوادگي")},
        {QStringLiteral("father"), QString::fromUtf16(u"نام پدر")},
        {QStringLiteral("nation"), QString::fromUtf16(u"کد ملي")},
        {QStringLiteral("sh_no"), QString::fromUtf16(u"شماره شناسنامه")},
        {QStringLiteral("birthday"), QString::fromUtf16(u"تاريخ تولد")},
        {QStringLiteral("sodor"), QString::fromUtf16(u"محل صدور")},
        {QStringLiteral("tavalod_loc"), QString::fromUtf16(u"محل تولد")},
        {QStringLiteral("mobile"), QString::fromUtf16(u"موبايل")},
        {QStringLiteral("phone"), QString::fromUtf16(u"تلفن ثابت")},
        {QStringLiteral("taahol"), QString::fromUtf16(u"تاهل")},
        {QStringLiteral("gender"), QString::fromUtf16(u"جنسيت")},
        {QStringLiteral("cmt"), QString::fromUtf16(u"توضيحات")},
        {QStringLiteral("sabeghe"), QString::fromUtf16(u"سابقه سکونت")},
        {QStringLiteral("adr"), QString::fromUtf16(u"آدرس")},
        {QStringLiteral("job"), QString::fromUtf16(u"شغل")},
        {QStringLiteral("job_adr"), QString::fromUtf16(u"آدرس محل کار")},
        {QStringLiteral("moaref"), QString::fromUtf16(u"معرف")},
        {QStringLiteral("reg_dat"), QString::fromUtf16(u"تاريخ ثبت نام")},
        {QStringLiteral("reg_no"), QString::fromUtf16(u"شماره ثبت نام")},
        {QStringLiteral("prot_no"), QString::fromUtf16(u"شماره قرارداد")},
        {QStringLiteral("prot_dat"), QString::fromUtf16(u"تاريخ قرارداد")},
        {QStringLiteral("reg_user"), QString::fromUtf16(u"نام کاربر")},
        {QStringLiteral("vajed"), QString::fromUtf16(u"نظر کميته واگذاري در خصوص واجد شرايط بودن")},
        {QStringLiteral("taeed"), QString::fromUtf16(u"مرجع تاييد نهايي")},
        {QStringLiteral("emtiyaz"), QString::fromUtf16(u"امتياز مکتسبه")},
        {QStringLiteral("status"), QString::fromUtf16(u"وضعيت")},
        {QStringLiteral("norvad_no"), QString::fromUtf16(u"شماره معرفي نامه به بانک")},
        {QStringLiteral("norvad_dat"), QString::fromUtf16(u"تاريخ معرفي نامه به بانک")},
        {QStringLiteral("bank_no"), QString::fromUtf16(u"شماره گواهي بانک")},
        {QStringLiteral("bank_dat"), QString::fromUtf16(u"تاريخ گواهي بانک")},
        {QStringLiteral("mali_no"), QString::fromUtf16(u"شماره گواهي تسويه مالي")},
        {QStringLiteral("mali_dat"), QString::fromUtf16(u"تاريخ گواهي تسويه مالي")},
        {QStringLiteral("tahvil_no"), QString::fromUtf16(u"شماره صورتجلسه تحويل")},
        {QStringLiteral("tahvil_dat"), QString::fromUtf16(u"تاريخ صورتجلسه تحويل")},
        {QStringLiteral("daftar_no"), QString::fromUtf16(u"شماره معرفي نامه به دفترخانه")},
        {QStringLiteral("daftar_dat"), QString::fromUtf16(u"تاريخ معرفي نامه به دفترخانه")},
        {QStringLiteral("sanad_no"), QString::fromUtf16(u"شماره سند")},
        {QStringLiteral("sanad_dat"), QString::fromUtf16(u"تاريخ سند")},
    };
    return headings;
}

HeaderMap applicantHeaders()
{
    HeaderMap h;
    for (const auto& [field, heading] : applicantHeadingList())
        h.insert(field, heading);
    return h;
}

} // namespace tavrin
