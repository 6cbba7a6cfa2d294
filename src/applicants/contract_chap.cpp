#include "applicants/contract_chap.h"

#include "applicants/form_texts.h"

#include "common/dialogs.h"
#include "common/numberwords.h"
#include "db/database.h"

namespace tavrin::forms {

namespace ft = formtext;

namespace {

QString firstText(const QList<QSqlRecord>& rows, const char* column)
{
    return rows.isEmpty() ? QString() : rows.first().value(QString::fromLatin1(column)).toString();
}

// A count in words ("صفر" for none).
QString countWords(qsizetype n)
{
    return words::toWords(QString::number(n)).value_or(QString::number(n)).trimmed();
}

// Header fields of every contract page.
void putHeader(QVariantMap& v, const ApplicantFile& f)
{
    for (const char* c : {"prj_name", "prot_no", "prot_dat"})
        v.insert(QString::fromLatin1(c), f.text(QString::fromLatin1(c)));
}

// The buyer, the unit, his storage rooms and parking spaces (page 1 and the trial page 1).
void putBuyerAndUnit(QVariantMap& v, const ApplicantFile& f)
{
    v.insert(QStringLiteral("lname"), f.fullName());
    for (const char* c : {"father", "sh_no", "birthday", "nation", "mobile", "sodor", "karbari", "bolok", "tabaghe",
                          "vahed_no", "jahat", "zamin_pelak", "zamin_adr", "ekhtesasi", "moshtarak", "zipcode",
                          "comp_name", "comp_no", "comp_shenase"})
        v.insert(QString::fromLatin1(c), f.text(QString::fromLatin1(c)));
    v.insert(QStringLiteral("customer_adr"), f.text(QStringLiteral("adr")));
    v.insert(QStringLiteral("eghtesadi_cod2"), f.text(QStringLiteral("eghtesadi_cod")));
    v.insert(QStringLiteral("sahm"), decimalText(f.customer.value(QStringLiteral("sahm"))));
    v.insert(QStringLiteral("otagh"), f.text(QStringLiteral("otagh")));
    v.insert(QStringLiteral("prj_name2"), f.text(QStringLiteral("prj_name")));
    v.insert(QStringLiteral("bana"), f.unit ? f.unit->value(QStringLiteral("bana")).toString() : QString());
    v.insert(QStringLiteral("metraj"), f.area());
    v.insert(QStringLiteral("anbari_masahat"), decimalText(f.customer.value(QStringLiteral("anbari"))));
    v.insert(QStringLiteral("parking_masahat"), decimalText(f.customer.value(QStringLiteral("parking"))));
    v.insert(QStringLiteral("parking_tabaghe"), firstText(f.parking, "pos"));
    v.insert(QStringLiteral("parking_cnt"), countWords(f.parking.size()));
    v.insert(QStringLiteral("anbari_tabaghe"), firstText(f.storage, "pos"));
    v.insert(QStringLiteral("anbari_cnt"), countWords(f.storage.size()));
    QStringList nums;
    for (const QSqlRecord& r : f.storage)
        nums << r.value(QStringLiteral("num")).toString();
    v.insert(QStringLiteral("anbari_no"), nums.join(QStringLiteral("، ")));
}

// The price, the payments and the balance (page 2 and the trial page 2).
void putPrice(FormFill& fill, const ApplicantFile& f)
{
    QVariantMap& v = fill.values;
    const Account a = accountOf(f);
    const auto amount = [&](const char* name, const QVariant& stored) {
        const auto r = wholeRials(stored);
        v.insert(QString::fromLatin1(name), r ? moneyText(*r) : QString());
    };
    v.insert(QStringLiteral("bana"), f.landUnit() ? ft::kLand : ft::kFloorArea);
    amount("mablagh1", f.customer.value(QStringLiteral("mablagh1")));
    v.insert(QStringLiteral("vam"), moneyText(rialsOf(a.loan)));
    v.insert(QStringLiteral("parking_mablagh"), moneyText(rialsOf(a.parking)));
    v.insert(QStringLiteral("anbari_mablagh"), moneyText(rialsOf(a.storage)));
    if (const auto total = a.total()) {
        v.insert(QStringLiteral("mablagh"), moneyText(*total));
        v.insert(QStringLiteral("mablagh_horof"), moneyWords(*total).trimmed());
        // The stored unit price is already after the discount: it is not taken off again.
        v.insert(QStringLiteral("mande"), moneyText(*a.totalLessLoan()));
    } else {
        warnMissingPrice();
        for (const char* c : {"mablagh", "mablagh_horof", "mande"})
            v.insert(QString::fromLatin1(c), QString());
    }
    QList<QSqlRecord> down, delivery;
    for (const QSqlRecord& p : f.payments) {
        const QString kind = p.value(QStringLiteral("pardakht_typ")).toString();
        if (kind == ft::kDownPayment)
            down << p;
        else if (kind == ft::kDelivery)
            delivery << p;
    }
    const auto firstAmount = [](const QList<QSqlRecord>& rows) {
        return rows.isEmpty() ? QStringLiteral("0")
                              : moneyText(wholeRials(rows.first().value(QStringLiteral("mablagh"))).value_or(0));
    };
    v.insert(QStringLiteral("pish_mablagh"), firstAmount(down));
    v.insert(QStringLiteral("hesab_no"), firstText(down, "hesab_no"));
    v.insert(QStringLiteral("norvad_bank"), firstText(down, "norvad_bank"));
    v.insert(QStringLiteral("tahvil_mablagh"), firstAmount(delivery));
    v.insert(QStringLiteral("tahvil_num"), firstText(delivery, "num"));
    v.insert(QStringLiteral("tahvil_dat"), firstText(delivery, "dat"));
    v.insert(QStringLiteral("tahvil_bank"), firstText(delivery, "bank"));
    v.insert(QStringLiteral("tahvil_resid_no"), firstText(delivery, "resid_no"));
    v.insert(QStringLiteral("mablagh_sum"), moneyText(rialsOf(a.payments)));
    v.insert(QStringLiteral("vosol_sum"), moneyText(rialsOf(a.collected)));
    fill.table = paymentTable(f);
}

// Page 1's share question and partners (the partnership form).
void putPartners(FormFill& fill, const ApplicantFile& f, bool askShare)
{
    if (f.soleOwner()) {
        fill.flags << QStringLiteral("sole");
        return;
    }
    fill.flags << QStringLiteral("partners");
    bool share = false;
    if (askShare)
        share = dialogs().question(ft::kShareQuestion, Buttons::YesNoCancel) == Answer::Yes;
    if (share) {
        fill.flags << QStringLiteral("share");
        fill.values.insert(QStringLiteral("sahm_caption"), ft::kShareCaption);
    } else {
        fill.values.insert(QStringLiteral("sahm_caption"), QString());
        fill.values.insert(QStringLiteral("sahm"), QString());
    }
    if (!f.partners.isEmpty())
        fill.table = partnerTable(f, share);
}

FormFill page1(const ApplicantFile& f, Seat seat, bool askShare)
{
    FormFill fill;
    fill.values = sellerValues(f, seat);
    putHeader(fill.values, f);
    putBuyerAndUnit(fill.values, f);
    const bool company = f.text(QStringLiteral("typ")) == ft::kLegal;
    fill.values.insert(QStringLiteral("kharidar"), company ? QStringLiteral("\"خريدار و نماينده حقوقي\"")
                                                           : QStringLiteral("\"خريدار\""));
    if (company)
        fill.flags << QStringLiteral("company");
    putPartners(fill, f, askShare);
    return fill;
}

} // namespace

QString contractTemplate(int page)
{
    return QStringLiteral("contract%1").arg(page);
}

FormFill contractFill(int page, const ApplicantFile& f, Seat seat)
{
    if (page == 1)
        return page1(f, seat, true);
    FormFill fill;
    putHeader(fill.values, f);
    switch (page) {
    case 2:
        putPrice(fill, f);
        break;
    case 3: {
        const auto jarime = wholeRials(f.customer.value(QStringLiteral("jarime")));
        fill.values.insert(QStringLiteral("jarime"), jarime ? moneyText(*jarime) : QString());
        fill.values.insert(QStringLiteral("tahvil_dat"), f.text(QStringLiteral("tahvil_time")));
        break;
    }
    case 4:
        fill.values.insert(QStringLiteral("takhir"), decimalText(f.customer.value(QStringLiteral("takhir"))));
        break;
    case 8: {
        const QVariantMap seller = sellerValues(f, seat);
        for (const char* c : {"semat", "ostan", "modirkol"})
            fill.values.insert(QString::fromLatin1(c), seller.value(QString::fromLatin1(c)));
        fill.values.insert(QStringLiteral("kharidar"), f.fullName());
        fill.values.insert(QStringLiteral("sana"), f.text(QStringLiteral("sana")) == ft::kHas ? ft::kSana : ft::kPost);
        break;
    }
    default:
        break;
    }
    return fill;
}

doc::Document contractPage(int page, const ApplicantFile& f, Seat seat)
{
    return buildForm(contractTemplate(page), contractFill(page, f, seat));
}

QList<doc::Document> contractPages(const ApplicantFile& f, Seat seat)
{
    QList<doc::Document> pages;
    for (int p = 1; p <= 8; ++p)
        pages << contractPage(p, f, seat);
    return pages;
}

FormFill trialFill(int page, const ApplicantFile& f)
{
    FormFill fill;
    if (page == 1) {
        fill = page1(f, Seat::Province, true);
        fill.values.remove(QStringLiteral("kharidar"));
        const auto ask = [&](const char* field, const QString& title, const QString& prompt, const QString& preset) {
            fill.values.insert(QString::fromLatin1(field), dialogs().input(title, prompt, preset).value_or(preset));
        };
        ask("soratjalase", ft::kSoratTitle, ft::kSoratPrompt, ft::kSoratPreset);
        ask("prj_tabaghe", ft::kTabaghatTitle, ft::kTabaghatPrompt, QStringLiteral("11"));
        ask("prj_vahed", ft::kVahedTitle, ft::kVahedPrompt, QStringLiteral("62"));
        ask("saze", ft::kSazeTitle, ft::kSazePrompt, ft::kSazePreset);
        return fill;
    }
    putHeader(fill.values, f);
    putPrice(fill, f);
    // The unit's loan: the oldest allocation of a facility to the unit.
    const auto loan = dm().firstRow(
        QStringLiteral("select tashilat.bank, tashilat.etebar_loc from vahed_vam"
                       " left join tashilat on vahed_vam.tashilat_id=tashilat.id"
                       " where vahed_vam.vahed_id=? order by vahed_vam.id"),
        {f.customer.value(QStringLiteral("vahed_id"))});
    fill.values.insert(QStringLiteral("bank"), loan ? loan->value(0).toString() : QString());
    fill.values.insert(QStringLiteral("etebar_loc"), loan ? loan->value(1).toString() : QString());
    return fill;
}

doc::Document trialPage(int page, const ApplicantFile& f)
{
    return buildForm(QStringLiteral("trial%1").arg(page), trialFill(page, f));
}

namespace {

// Reads the applicant's file; a failure is reported and gives nothing.
std::optional<ApplicantFile> readFile(const QSqlRecord& customer)
{
    try {
        return loadApplicant(customer);
    } catch (const DbError& e) {
        reportFailure(ft::kReadFailed, e);
        return std::nullopt;
    }
}

template <class Build>
void printOne(const QSqlRecord& customer, const QString& name, Build build)
{
    const auto f = readFile(customer);
    if (!f)
        return;
    try {
        build(*f).showPreview(formTemplate(name).title());
    } catch (const DbError& e) {
        reportFailure(ft::kReadFailed, e);
    }
}

} // namespace

void printContractPage(const QSqlRecord& customer, int page, Seat seat)
{
    printOne(customer, contractTemplate(page), [&](const ApplicantFile& f) { return contractPage(page, f, seat); });
}

void printTrialPage(const QSqlRecord& customer, int page)
{
    printOne(customer, QStringLiteral("trial%1").arg(page), [&](const ApplicantFile& f) { return trialPage(page, f); });
}

void printContractAll(const QSqlRecord& customer, Seat seat)
{
    const auto f = readFile(customer);
    if (!f)
        return;
    QList<doc::Document> pages;
    try {
        pages = contractPages(*f, seat);
    } catch (const DbError& e) {
        reportFailure(ft::kReadFailed, e);
        return;
    }
    const QString title = formTemplate(contractTemplate(1)).title();
    for (const doc::Document& d : std::as_const(pages))
        d.showPreview(title);
    if (dialogs().question(ft::kPdfQuestion, Buttons::YesNo) != Answer::Yes)
        return;
    const QString path = dialogs().saveFile(ft::kPdfTitle, QStringLiteral("PDF (*.pdf)"),
                                            QStringLiteral("contract-%1.pdf").arg(f->id()));
    if (path.isEmpty())
        return;
    doc::Document all = pages.first();
    for (int i = 1; i < pages.size(); ++i)
        all.append(pages.at(i));
    if (all.renderToPdf(path))
        dialogs().information(ft::kPdfSaved);
    else
        dialogs().error(ft::kPdfFailed);
}

} // namespace tavrin::forms
