#include "applicants/letters_chap.h"

#include "applicants/form_texts.h"

#include "common/clipboard_frm_u.h"
#include "common/dialogs.h"
#include "common/jalali.h"
#include "common/windows.h"
#include "db/database.h"
#include "db/schema.h"

namespace tavrin::forms {

namespace ft = formtext;

namespace {

// Columns of the applicant under their own names.
void same(QVariantMap& v, const ApplicantFile& f, std::initializer_list<const char*> columns)
{
    const QVariantMap all = customerValues(f.customer);
    for (const char* c : columns)
        v.insert(QString::fromLatin1(c), all.value(QString::fromLatin1(c)));
}

void set(QVariantMap& v, const char* name, const QString& value)
{
    v.insert(QString::fromLatin1(name), value);
}

// Fields left for handwriting: empty, printed as a dotted line.
void blank(FormFill& fill, std::initializer_list<const char*> names)
{
    for (const char* n : names) {
        fill.values.insert(QString::fromLatin1(n), QString());
        fill.handwritten << QString::fromLatin1(n);
    }
}

// An input box; a cancelled box gives its preset.
QString ask(const QString& title, const QString& prompt, const QString& preset)
{
    return dialogs().input(title, prompt, preset).value_or(preset);
}

// The applicant's name, unit and contract (the unit's area as printed).
void unitFields(QVariantMap& v, const ApplicantFile& f)
{
    same(v, f, {"prj_name", "bolok", "tabaghe", "vahed_no", "shenase", "prot_no", "prot_dat"});
    set(v, "metraj", f.area());
}

QString totalText(const ApplicantFile& f, bool grouped)
{
    const auto total = accountOf(f).total();
    if (!total) {
        warnMissingPrice();
        return {};
    }
    return grouped ? moneyText(*total) : QString::number(*total);
}

// The other holder of the applicant's unit (a transfer): the one who held it
// before (latest transfer first) or the one who holds it now (oldest first).
std::optional<QSqlRecord> otherHolder(const ApplicantFile& f, bool former)
{
    const QString transferred = jalali::dateIsSet(QStringLiteral("transport_dat"));
    if (former)
        return dm().firstRow(QStringLiteral("select * from customers where ostan=? and shahrestan=? and prj_id=?"
                                            " and shenase=? and ") +
                                 transferred + QStringLiteral(" and id<>? order by transport_dat desc, id desc"),
                             {f.text(QStringLiteral("ostan")), f.text(QStringLiteral("shahrestan")),
                              f.customer.value(QStringLiteral("prj_id")), f.text(QStringLiteral("shenase")), f.id()});
    return dm().firstRow(QStringLiteral("select * from customers where shenase=? and not (") + transferred +
                             QStringLiteral(") and ostan=? and shahrestan=? and prj_name=? and id<>? order by id"),
                         {f.text(QStringLiteral("shenase")), f.text(QStringLiteral("ostan")),
                          f.text(QStringLiteral("shahrestan")), f.text(QStringLiteral("prj_name")), f.id()});
}

QString text(const std::optional<QSqlRecord>& r, const char* column)
{
    return r ? r->value(QString::fromLatin1(column)).toString() : QString();
}

QString fullName(const std::optional<QSqlRecord>& r)
{
    return r ? text(r, "fname") + QLatin1Char(' ') + text(r, "lname") : QString();
}

} // namespace

QString letterTemplate(int number)
{
    if (number == 18)
        return QStringLiteral("letter18");
    return QStringLiteral("letter%1").arg(number);
}

FormFill letterFill(int number, const ApplicantFile& f, Seat seat)
{
    FormFill fill;
    QVariantMap& v = fill.values;
    const bool county = seat == Seat::County;
    const QString ostan = f.text(QStringLiteral("ostan"));
    const QString shahrestan = f.text(QStringLiteral("shahrestan"));
    const QString name = f.fullName();
    switch (number) {
    case 3:
        set(v, "QRLabel33", county ? ft::kCityHeading : ft::kOstanHeading);
        set(v, "QRLabel34", county ? ft::kCityAddressee : ft::kOstanAddressee);
        same(v, f, {"ostan", "shahrestan", "father", "sh_no", "sodor", "nation", "zamin_pelak", "zamin_adr"});
        set(v, "bank", ask(ft::kBankTitle, ft::kBankPrompt, ft::kBankPreset));
        set(v, "shobe", ask(ft::kShobeTitle, ft::kShobePrompt, ft::kShobePreset));
        set(v, "lname", name);
        unitFields(v, f);
        set(v, "shahrestan2", shahrestan);
        set(v, "namayande", ask(ft::kNamayandeTitle, ft::kNamayandePrompt, ft::kNamayandePreset));
        set(v, "ostan2", county ? shahrestan : ostan);
        set(v, "ostan3", county ? shahrestan : ostan);
        blank(fill, {"paper_no", "paper_dat", "bank_no", "bank_dat", "mablagh", "aghsat"});
        set(v, "lname2", name);
        break;
    case 4:
        set(v, "bank", ask(ft::kBankTitle, ft::kBankPrompt, ft::kBankPreset));
        unitFields(v, f);
        same(v, f, {"lname", "father", "nation"});
        set(v, "prj_name2", f.text(QStringLiteral("prj_name")));
        set(v, "moaven_maskan", officeSetting(f, Seat::Province, ft::kMoavenMaskan));
        break;
    case 5: {
        set(v, "bank", ask(ft::kBankTitle, ft::kBankPrompt, ft::kBankPreset));
        unitFields(v, f);
        same(v, f, {"ostan", "father", "nation"});
        set(v, "lname", name);
        set(v, "vam", moneyText(rialsOf(accountOf(f).loan)));
        set(v, "modir_kol", officeSetting(f, Seat::Province, ft::kModirKol));
        if (!f.partners.isEmpty())
            fill.table = partnerTable(f, false, false);
        break;
    }
    case 6:
    case 12:
        same(v, f, {"ostan", "shahrestan"});
        break;
    case 7:
    case 10:
    case 11:
        same(v, f, {"ostan", "shahrestan"});
        set(v, "ostan2", ostan);
        set(v, "shahrestan2", shahrestan);
        break;
    case 8:
    case 9:
        same(v, f, {"ostan", "shahrestan", "fname", "lname", "father", "sodor", "nation", "daftar_no"});
        unitFields(v, f);
        set(v, "anbari", decimalText(f.customer.value(QStringLiteral("anbari"))));
        set(v, "parking", decimalText(f.customer.value(QStringLiteral("parking"))));
        set(v, "ostan2", ostan);
        set(v, "ostan3", ostan);
        set(v, "shahrestan2", shahrestan);
        set(v, "daftar_no2", f.text(QStringLiteral("daftar_no")));
        set(v, "prot_no2", f.text(QStringLiteral("prot_no")));
        set(v, "prot_dat2", f.text(QStringLiteral("prot_dat")));
        break;
    case 13:
        same(v, f, {"ostan", "shahrestan", "tahvil_dat", "father", "birthday", "sh_no", "nation", "otagh"});
        set(v, "lname", name);
        unitFields(v, f);
        set(v, "anbari", decimalText(f.customer.value(QStringLiteral("anbari"))));
        set(v, "parking", decimalText(f.customer.value(QStringLiteral("parking"))));
        break;
    case 14:
        same(v, f, {"ostan", "shahrestan"});
        set(v, "lname", name);
        unitFields(v, f);
        break;
    case 15: {
        set(v, "lname", name);
        unitFields(v, f);
        set(v, "dat", ask(ft::kTahvilDatTitle, ft::kTahvilDatPrompt, f.text(QStringLiteral("tahvil_dat"))));
        set(v, "saat1", QStringLiteral("8"));
        set(v, "saat2", QStringLiteral("12"));
        const Seat officer = userSeat();
        set(v, "adr", officeSetting(f, officer, ft::kNorvadAdr));
        if (officer == Seat::County) {
            set(v, "moaven_maskan", officeSetting(f, officer, ft::kModirCity));
            set(v, "ostan", shahrestan);
            set(v, "ostan2", shahrestan);
            set(v, "QRLabel32", ft::kCityModirTitle);
        } else {
            set(v, "moaven_maskan", officeSetting(f, officer, ft::kMoavenMaskan));
            set(v, "ostan", ostan);
            set(v, "ostan2", ostan);
            set(v, "QRLabel32", ft::kOstanMoavenTitle);
        }
        break;
    }
    case 16:
    case 17:
        set(v, "name", name);
        same(v, f, {"ostan", "prj_name", "prot_no", "prot_dat"});
        set(v, "adr", f.text(QStringLiteral("zamin_adr")));
        blank(fill, {"prot_no2", "prot_dat2", "prot_no3", "prot_dat3"});
        if (number == 16) {
            set(v, "bank", ask(ft::kBankTitle, ft::kBankContractPrompt, ft::kBankPreset));
            set(v, "bank_no", ask(ft::kBankNoTitle, ft::kBankNoPrompt, f.text(QStringLiteral("bank_no"))));
            set(v, "bank_dat", ask(ft::kBankDatTitle, ft::kBankDatPrompt, f.text(QStringLiteral("bank_dat"))));
            set(v, "bank2", ask(ft::kBankTitle, ft::kBank2Prompt, ft::kBankPreset));
            set(v, "shobe", ask(ft::kShobeBankTitle, ft::kShobeBankPrompt, ft::kShobePreset));
        }
        break;
    case 18: {
        const QString typ = ask(ft::kTahvilTypTitle, ft::kTahvilTypPrompt, ft::kTahvilTypPreset);
        set(v, "tahvil_typ", typ);
        set(v, "tahvil_typ2", typ);
        unitFields(v, f);
        same(v, f, {"father", "nation", "fname"});
        for (const char* p : {"prj_name2", "prj_name3"})
            set(v, p, f.text(QStringLiteral("prj_name")));
        set(v, "moaven_maskan", officeSetting(f, userSeat(), ft::kModirForosh));
        if (f.soleOwner()) {
            fill.flags << QStringLiteral("sole");
            set(v, "lname", name);
        } else {
            fill.flags << QStringLiteral("partners");
            same(v, f, {"lname"});
            set(v, "sahm", decimalText(f.customer.value(QStringLiteral("sahm"))));
            fill.table = partnerTable(f, true, false);
        }
        break;
    }
    case 19:
    case 20:
    case 21:
        unitFields(v, f);
        same(v, f, {"lname", "father", "nation", "jahat"});
        set(v, "prj_name2", f.text(QStringLiteral("prj_name")));
        if (number == 19) {
            set(v, "dat", ask(ft::kDateTitle, ft::kSoodPrompt, jalali::today()));
            set(v, "masol_tavrin", officeSetting(f, userSeat(), ft::kModirForosh));
            set(v, "QRLabel3", userSeat() == Seat::County ? ft::kCitySupport : ft::kOstanSupport);
        } else {
            set(v, "masol_tavrin", officeSetting(f, Seat::Province, ft::kModirForosh));
            if (number == 20)
                set(v, "mablagh", ask(ft::kSharjTitle, ft::kSharjPrompt, ft::kSharjPreset));
            else
                set(v, "mablagh", ask(ft::kVarizTitle, ft::kVarizPrompt, ft::kSharjPreset));
            blank(fill, {"dat", "chek_no"});
        }
        break;
    case 24:
        same(v, f, {"father", "sh_no", "sodor", "birthday", "nation", "job", "adr", "zipcode", "phone", "mobile"});
        set(v, "lname", name);
        set(v, "dat", ask(ft::kDateTitle, ft::kFaghedPrompt, jalali::today()));
        break;
    case 25: {
        const auto former = otherHolder(f, true);
        for (const char* o : {"ostan", "ostan2", "ostan3", "ostan4"})
            set(v, o, ostan);
        set(v, "nam", fullName(former));
        set(v, "nam5", fullName(former));
        set(v, "father", text(former, "father"));
        set(v, "nation", text(former, "nation"));
        set(v, "prot_no", text(former, "prot_no"));
        set(v, "prot_dat", text(former, "prot_dat"));
        for (const char* n : {"nam2", "nam3", "nam4", "nam6"})
            set(v, n, name);
        for (const char* n : {"father2", "father3", "father4"})
            set(v, n, f.text(QStringLiteral("father")));
        for (const char* n : {"nation2", "nation3", "nation4"})
            set(v, n, f.text(QStringLiteral("nation")));
        set(v, "prot_no2", f.text(QStringLiteral("prot_no")));
        set(v, "prot_dat2", f.text(QStringLiteral("prot_dat")));
        set(v, "prot_no3", f.text(QStringLiteral("prot_no")));
        set(v, "prot_dat3", f.text(QStringLiteral("prot_dat")));
        for (const QString& suffix : {QString(), QStringLiteral("2"), QStringLiteral("3")}) {
            for (const char* c : {"vahed_no", "tabaghe", "bolok", "prj_name"})
                v.insert(QString::fromLatin1(c) + suffix, f.text(QString::fromLatin1(c)));
            v.insert(QStringLiteral("metraj") + suffix, f.area());
        }
        const auto price = wholeRials(f.customer.value(QStringLiteral("mablagh1")));
        set(v, "mablagh1", price ? moneyText(*price) : QString());
        const Account a = accountOf(f);
        set(v, "parking_mablagh", moneyText(rialsOf(a.parking)));
        set(v, "anbari_mablagh", moneyText(rialsOf(a.storage)));
        set(v, "mablagh", totalText(f, true));
        set(v, "mablagh2", a.total() ? QString::number(*a.total()) : QString());
        blank(fill, {"mablagh3", "sanad", "sanad_dat", "mablagh4", "mablagh5", "mablagh5_horof", "mablagh6",
                  "mablagh6_horof", "chek"});
        break;
    }
    case 26: {
        const auto current = otherHolder(f, false);
        set(v, "nam", name);
        same(v, f, {"nation", "prot_no", "prot_dat", "transport_dat", "ostan"});
        unitFields(v, f);
        set(v, "prj_name2", f.text(QStringLiteral("prj_name")));
        for (const char* n : {"nam2", "nam3", "nam4"})
            set(v, n, fullName(current));
        set(v, "father2", text(current, "father"));
        set(v, "sh_no2", text(current, "sh_no"));
        set(v, "nation2", text(current, "nation"));
        for (const char* c : {"sodor", "birthday", "adr", "mobile"})
            set(v, c, text(current, c));
        blank(fill, {"fish_no", "fish_dat", "mablagh"});
        break;
    }
    default:
        break;
    }
    return fill;
}

doc::Document letter(int number, const ApplicantFile& f, Seat seat)
{
    return buildForm(letterTemplate(number), letterFill(number, f, seat));
}

QString noticeText(const FormFill& fill)
{
    const FormTemplate t = formTemplate(letterTemplate(15));
    QStringList lines;
    for (const TemplateLine& l : t.lines) {
        if (l.kind == QLatin1String("table") || l.text.isEmpty())
            continue;
        QString text = doc::detail::fillText(l.text, fill.values).text;
        text.replace(QStringLiteral(" | "), QStringLiteral(" "));
        text.replace(QLatin1Char('|'), QLatin1Char(' '));
        lines << text.trimmed();
    }
    return lines.join(QLatin1Char('\n'));
}

FormFill enquiryFill(const QSqlRecord& customer, const QString& office, const QString& signer, const QString& benefit)
{
    FormFill fill;
    QVariantMap& v = fill.values;
    const auto spouse = dm().firstRow(
        QStringLiteral("select * from takafol where customer_id=? and shoraka_id=0 and nesbat=? order by id"),
        {customer.value(QStringLiteral("id")), ft::kSpouse});
    const auto col = [&](const char* c) { return customer.value(QString::fromLatin1(c)).toString(); };
    set(v, "sazeman", office);
    set(v, "emza", signer);
    set(v, "emtiyaz", benefit);
    set(v, "lname", col("fname") + QLatin1Char(' ') + col("lname"));
    for (const char* c : {"father", "sh_no", "sodor", "nation"})
        set(v, c, col(c));
    set(v, "h_lname", spouse ? fullName(spouse) : QString());
    set(v, "h_father", text(spouse, "father"));
    set(v, "h_sh_no", text(spouse, "sh_no"));
    set(v, "h_nation", text(spouse, "nation"));
    set(v, "old_name", ask(ft::kOldNameTitle, ft::kOldNamePrompt, ft::kOldNamePreset));
    return fill;
}

doc::Document enquiryLetter(const QSqlRecord& customer, const QString& office, const QString& signer,
                            const QString& benefit)
{
    return buildForm(QStringLiteral("letter2"), enquiryFill(customer, office, signer, benefit));
}

void printLetter(const QSqlRecord& customer, int number, Seat seat)
{
    try {
        const ApplicantFile f = loadApplicant(customer);
        const FormFill fill = letterFill(number, f, seat);
        const doc::Document d = buildForm(letterTemplate(number), fill);
        if (number == 15) {
            TClipBoard_frm& clip = tavrin::window<TClipBoard_frm>();
            clip.setText(noticeText(fill));
            clip.Button1Click();
        }
        d.showPreview(formTemplate(letterTemplate(number)).title());
    } catch (const DbError& e) {
        reportFailure(ft::kReadFailed, e);
    }
}

} // namespace tavrin::forms
