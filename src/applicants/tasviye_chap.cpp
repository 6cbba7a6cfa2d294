#include "applicants/tasviye_chap.h"

#include "applicants/form_texts.h"

#include "common/dialogs.h"
#include "db/database.h"

namespace tavrin::forms {

FormFill settlementFill(const ApplicantFile& f, Seat seat)
{
    FormFill fill;
    QVariantMap& v = fill.values;
    const auto put = [&](const QString& name, const QString& value) { v.insert(name, value); };
    put(QStringLiteral("ostan"), f.text(QStringLiteral("ostan")));
    for (const QString& p : {QStringLiteral("prj_name"), QStringLiteral("prj_name2"), QStringLiteral("prj_name3")})
        put(p, f.text(QStringLiteral("prj_name")));
    for (const char* c : {"fname", "father", "nation", "karbari", "vahed_no", "bolok", "tabaghe", "prot_no", "prot_dat"})
        put(QString::fromLatin1(c), f.text(QString::fromLatin1(c)));
    put(QStringLiteral("lname"), f.soleOwner() ? f.fullName() : f.text(QStringLiteral("lname")));
    put(QStringLiteral("metraj"), f.area());
    put(QStringLiteral("vahed_no2"), f.text(QStringLiteral("vahed_no")));
    put(QStringLiteral("bolok2"), f.text(QStringLiteral("bolok")));
    put(QStringLiteral("tabaghe2"), f.text(QStringLiteral("tabaghe")));
    put(QStringLiteral("metraj3"), f.area());
    put(QStringLiteral("prot_no2"), f.text(QStringLiteral("prot_no")));
    put(QStringLiteral("prot_dat2"), f.text(QStringLiteral("prot_dat")));
    if (seat == Seat::County) {
        fill.flags << QStringLiteral("county");
        put(QStringLiteral("city"), f.text(QStringLiteral("shahrestan")));
        for (int i = 2; i <= 8; ++i)
            put(QStringLiteral("city%1").arg(i), f.text(QStringLiteral("shahrestan")));
    }
    const Account a = accountOf(f);
    put(QStringLiteral("vam"), moneyText(rialsOf(a.loan)));
    if (const auto total = a.total()) {
        put(QStringLiteral("mablagh"), moneyText(*total));
        put(QStringLiteral("mande"), moneyText(*a.balance()));
    } else {
        warnMissingPrice();
        put(QStringLiteral("mablagh"), QString());
        put(QStringLiteral("mande"), QString());
    }
    if (f.soleOwner()) {
        fill.flags << QStringLiteral("sole");
    } else {
        fill.flags << QStringLiteral("partners");
        put(QStringLiteral("sahm"), decimalText(f.customer.value(QStringLiteral("sahm"))));
        FormTable t;
        const auto c = [](const char* caption, const char* field, double w) {
            return doc::Column(QString::fromUtf8(caption), QString::fromLatin1(field), w);
        };
        t.columns << doc::Column(QStringLiteral("رديف"), doc::Column::kRowNumber, 10) << c("نام", "fname", 30)
                  << c("نام خانوادگي", "lname", 40) << c("نام پدر", "father", 30) << c("کد ملي", "nation", 28)
                  << c("سهم", "sahm", 14);
        for (const QSqlRecord& p : f.partners) {
            QVariantMap row;
            for (const char* col : {"fname", "lname", "father", "nation"})
                row.insert(QString::fromLatin1(col), p.value(QString::fromLatin1(col)).toString());
            row.insert(QStringLiteral("sahm"), decimalText(p.value(QStringLiteral("sahm"))));
            t.rows << row;
        }
        fill.table = t;
    }
    return fill;
}

doc::Document settlement(const ApplicantFile& f, Seat seat)
{
    return buildForm(seat == Seat::County ? QStringLiteral("tasviye_city") : QStringLiteral("tasviye"),
                     settlementFill(f, seat));
}

void printSettlement(const QSqlRecord& customer, Seat seat)
{
    try {
        settlement(loadApplicant(customer), seat).showPreview(formTemplate(QStringLiteral("tasviye")).title());
    } catch (const DbError& e) {
        reportFailure(formtext::kReadFailed, e);
    }
}

} // namespace tavrin::forms
