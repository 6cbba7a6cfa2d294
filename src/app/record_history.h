#pragma once
// Wires the record-history window: the captions of every table and field the
// history names, from the windows' own field tables, and the opener the
// lists' pop-up menus call.
namespace tavrin {

void registerRecordHistory();

} // namespace tavrin
