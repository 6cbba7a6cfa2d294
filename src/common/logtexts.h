#pragma once
// The fixed opening of every activity-log comment the program writes.  Each
// action appends its values as its window's code says; searches of the log
// viewer rely on these openings, blanks included.

namespace tavrin::logtext {

// new project: followed by province, county, project name
inline constexpr auto kNewProject = " ثبت اطلاعات پروژه ";
// edited project: followed by province, county, project name
inline constexpr auto kEditProject = " ويرايش اطلاعات پروژه ";
// deleted project: followed by province, project name
inline constexpr auto kDeleteProject = " حذف اطلاعات پروژه ";
// new unit: followed by province, county, project name, unit identifier
inline constexpr auto kNewUnit = " ثبت اطلاعات واحد ";
// edited unit: followed by province, county, project name, unit identifier
inline constexpr auto kEditUnit = " ويرايش اطلاعات واحد ";
// deleted unit: followed by province, project name, unit identifier
inline constexpr auto kDeleteUnit = " حذف اطلاعات واحد ";
// new storage room: followed by province, county, project name, number
inline constexpr auto kNewAnbari = " ثبت اطلاعات انباري ";
// edited storage room: followed by province, county, project name, number
inline constexpr auto kEditAnbari = " ويرايش اطلاعات انباري ";
// deleted storage room: followed by province, project name, number
inline constexpr auto kDeleteAnbari = " حذف اطلاعات انباري ";
// new parking space: followed by province, county, project name, number
inline constexpr auto kNewParking = " ثبت اطلاعات پارکينگ ";
// edited parking space: followed by province, county, project name, number
inline constexpr auto kEditParking = " ويرايش اطلاعات پارکينگ ";
// deleted parking space: followed by province, project name, number
inline constexpr auto kDeleteParking = " حذف اطلاعات پارکينگ ";
// new user: followed by user name, province
inline constexpr auto kNewUser = " ثبت کاربر جديد ";
// edited user: followed by user name, province
inline constexpr auto kEditUser = " ويرايش کاربر ";
// successful login: followed by user name, full name
inline constexpr auto kLogin = "  ورود موفق به نرم افزار  ";
// login refused for an old program version: followed by version, user name
inline constexpr auto kOldVersion = "  ورود ناموفق به نرم افزار بدليل استفاده از نسخه قديمي   ";
// applicant saved, edited, deleted: followed by as in those Parts
inline constexpr auto kNewCustomer = " ثبت اطلاعات متقاضي ";
inline constexpr auto kEditCustomer = " ويرايش اطلاعات متقاضي ";
inline constexpr auto kDeleteCustomer = " حذف اطلاعات متقاضي ";
// applicant's storage room or parking space added, removed: followed by as in that Part
inline constexpr auto kNewCustomerAnbari = " ثبت انباري متقاضي ";
inline constexpr auto kNewCustomerParking = " ثبت پارکينگ متقاضي ";
inline constexpr auto kDeleteCustomerAnbari = " حذف انباري متقاضي ";
inline constexpr auto kDeleteCustomerParking = " حذف پارکينگ متقاضي ";
// applicant documents saved, deleted: followed by as in that Part
inline constexpr auto kNewDocuments = " ثبت مدارک پرونده ";
inline constexpr auto kDeleteDocuments = " حذف مدارک پرونده ";
// pre-registration saved, edited, deleted: followed by as in that Part
inline constexpr auto kNewPishsabt = " ثبت اطلاعات پيش ثبت نام ";
inline constexpr auto kEditPishsabt = " ويرايش اطلاعات پيش ثبت نام ";
inline constexpr auto kDeletePishsabt = " حذف اطلاعات پيش ثبت ";
// country division added, edited, deleted: followed by as in that Part
inline constexpr auto kNewAbadi = " ثبت کدآبادي جديد ";
inline constexpr auto kEditAbadi = " ويرايش آبادي ";
inline constexpr auto kDeleteAbadi = " حذف آبادي ";

} // namespace tavrin::logtext
