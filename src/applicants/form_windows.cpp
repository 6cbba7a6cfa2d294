#include "applicants/applicant_windows.h"

#include "applicants/contract_chap.h"
#include "applicants/edarat_u.h"
#include "applicants/form_texts.h"
#include "applicants/letters_chap.h"
#include "applicants/tasviye_chap.h"

namespace tavrin::applicants {

using forms::Seat;

// The entries of the menu "فرم ها": every document prints for the list's current row.
void registerFormWindows()
{
    const auto entry = [](const char* name, std::function<void(const QSqlRecord&)> print) {
        registerApplicantWindow(QString::fromLatin1(name), [print](const ApplicantContext& c) { print(c.customer); });
    };
    const char* pages[] = {"N110", "N25", "N31", "N41", "N51", "N61", "N71", "N81"};
    for (int p = 1; p <= 8; ++p)
        entry(pages[p - 1], [p](const QSqlRecord& r) { forms::printContractPage(r, p, Seat::Province); });
    entry("N27", [](const QSqlRecord& r) { forms::printContractAll(r, Seat::Province); });
    entry("N111", [](const QSqlRecord& r) { forms::printContractPage(r, 1, Seat::County); });
    entry("N82", [](const QSqlRecord& r) { forms::printContractPage(r, 8, Seat::County); });
    entry("N112", [](const QSqlRecord& r) { forms::printTrialPage(r, 1); });
    entry("N210", [](const QSqlRecord& r) { forms::printTrialPage(r, 2); });

    entry("N35", [](const QSqlRecord& r) {
        Tedarat& w = tavrin::window<Tedarat>();
        w.open(r, formtext::kNorvad);
        w.showModal();
    });
    entry("N52", [](const QSqlRecord& r) { forms::printLetter(r, 3, Seat::Province); });
    entry("N53", [](const QSqlRecord& r) { forms::printLetter(r, 3, Seat::County); });
    const struct {
        const char* name;
        int number;
    } letters[] = {{"N15", 4},  {"N531", 5}, {"N37", 6},  {"N38", 7},  {"N39", 8},  {"N40", 9},
                   {"N42", 10}, {"N43", 11}, {"N44", 12}, {"N45", 13}, {"N46", 14}, {"N47", 15},
                   {"N11", 16}, {"N12", 17}, {"N14", 18}, {"N16", 19}, {"N17", 20}, {"N18", 21},
                   {"N34", 24}, {"N32", 25}, {"N33", 26}};
    for (const auto& l : letters) {
        const int number = l.number;
        entry(l.name, [number](const QSqlRecord& r) { forms::printLetter(r, number, Seat::Province); });
    }
    entry("N19", [](const QSqlRecord& r) { forms::printSettlement(r, Seat::Province); });
    entry("N221", [](const QSqlRecord& r) { forms::printSettlement(r, Seat::County); });
}

} // namespace tavrin::applicants
