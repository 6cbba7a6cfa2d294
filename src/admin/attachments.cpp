#include "attachments.h"

#include "commtexts.h"

#include "common/fieldcheck.h"
#include "db/database.h"
#include "db/privatefiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace tavrin::attachments {

const QString kWriteFailed = QStringLiteral("خطا در ذخيره فايل ضميمه");
const QString kReadFailed = QStringLiteral("فايل انتخاب شده قابل خواندن نيست");
const QString kSaveFailed = QStringLiteral("خطا در ثبت ضميمه");
const QString kOpenFailed = QStringLiteral("خطا در خواندن ضميمه");
const QString kDeleteFailed = QStringLiteral("خطا در حذف ضميمه");
const QString kWrongRamz = QStringLiteral("رمز ضميمه اشتباه است");
const QString kSavedAt = QStringLiteral("برنامه اي براي باز کردن اين فايل پيدا نشد. فايل در اين مسير ذخيره شد:");

namespace {
// Characters of a description kept in a file name; longer names are cut.
constexpr int kMaxBaseName = 100;
const QString kFolderName = QStringLiteral("zamaem");
const QString kFallbackName = QStringLiteral("zamaem");

bool unsafeChar(QChar c)
{
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    return c.unicode() < 0x20 || c.unicode() == 0x7F || c.category() == QChar::Other_Control ||
           c.category() == QChar::Separator_Line || c.category() == QChar::Separator_Paragraph ||
           forbidden.contains(c);
}

QString column(const char* name)
{
    return dm().dialect().exactEquals(QString::fromLatin1(name));
}

bool descriptionStored(const QString& description)
{
    return dm().firstRow(QStringLiteral("select id from zamaem where ") + column("cmt"), {description}).has_value();
}

std::optional<Stored> fromRow(const std::optional<QSqlRecord>& row)
{
    if (!row)
        return std::nullopt;
    Stored s;
    s.id = row->value(0).toLongLong();
    s.cmt = text(row->value(1));
    s.ramz = text(row->value(2));
    s.pictype = text(row->value(3));
    s.pic = row->value(4).toByteArray();
    return s;
}
} // namespace

QString folder()
{
    const QString dir = QDir(programDataFolder()).filePath(kFolderName);
    makeOwnerOnlyFolder(dir);
    return dir;
}

QString safeBaseName(const QString& description)
{
    QString name;
    for (const QChar c : description)
        name += unsafeChar(c) ? QChar('_') : c;
    while (name.contains(QStringLiteral("..")))
        name.replace(QStringLiteral(".."), QStringLiteral("_"));
    name = name.trimmed();
    // A leading dot would hide the file.
    if (name.startsWith('.'))
        name[0] = '_';
    if (name.size() > kMaxBaseName) {
        name.truncate(kMaxBaseName);
        if (name.back().isHighSurrogate())
            name.chop(1);
    }
    while (name.endsWith('.') || name.endsWith(' '))
        name.chop(1);
    return name.isEmpty() ? kFallbackName : name;
}

QString safeExtension(const QString& pictype)
{
    static const QRegularExpression re(QStringLiteral("^\\.[A-Za-z0-9]{1,4}$"));
    return re.match(pictype).hasMatch() ? pictype : QString();
}

QString extensionOf(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix();
    return suffix.isEmpty() ? QString() : safeExtension('.' + suffix);
}

QString refuseBeforeChoosing(const QString& description, const QString& ramz)
{
    if (description.trimmed().isEmpty())
        return commtext::kEmptyDescription;
    if (const auto tooLong = checkTextLengths(QStringLiteral("zamaem"),
                                              {{QStringLiteral("cmt"), description, commtext::kZamaemCmt, QStringLiteral("Combo_type")},
                                               {QStringLiteral("ramz"), ramz, commtext::kZamaemRamz}}))
        return tooLong->message;
    if (description != commtext::kSignature && descriptionStored(description))
        return commtext::kDupDescription;
    return {};
}

QString refuseExtension(const QString& description, const QString& extension)
{
    if (description == commtext::kRebuildSignature && extension != QLatin1String(".jpg") &&
        extension != QLatin1String(".JPG"))
        return commtext::kJpegOnly;
    if (description == commtext::kRebuildReport && extension != QLatin1String(".rav"))
        return commtext::kRavOnly;
    return {};
}

Outcome store(const QString& description, const QString& ramz, const QString& filePath)
{
    const QString extension = extensionOf(filePath);
    if (const QString why = refuseExtension(description, extension); !why.isEmpty())
        return Outcome::refusal(why);
    QFile f(filePath);
    if (!f.open(QIODevice::ReadOnly))
        return Outcome::refusal(kReadFailed);
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return Outcome::refusal(kReadFailed);
    Database& db = dm();
    Transaction tx(db);
    // Two users storing the same description: the second sees the first's row.
    db.lockTable(QStringLiteral("zamaem"));
    if (const QString why = refuseBeforeChoosing(description, ramz); !why.isEmpty())
        return Outcome::refusal(why);
    Outcome r;
    r.id = db.insert(QStringLiteral("zamaem"),
                     {QStringLiteral("cmt"), QStringLiteral("ramz"), QStringLiteral("pictype"), QStringLiteral("pic")},
                     {description, ramz.isNull() ? QStringLiteral("") : ramz,
                      extension.isNull() ? QStringLiteral("") : extension, bytes});
    tx.commit();
    r.done = true;
    return r;
}

QString writeFile(const QString& path, const QByteArray& bytes)
{
    QString why;
    if (!writeOwnerOnly(path, bytes, &why)) {
        qCWarning(lcDb) << "cannot write" << path << why;
        return kWriteFailed;
    }
    return {};
}

std::optional<Stored> read(qint64 id)
{
    return fromRow(dm().firstRow(QStringLiteral("select id,cmt,ramz,pictype,pic from zamaem where id=?"), {id}));
}

std::optional<Stored> readFirst(const QString& description)
{
    return fromRow(dm().firstRow(
        QStringLiteral("select id,cmt,ramz,pictype,pic from zamaem where ") + column("cmt") + QStringLiteral(" order by id"),
        {description}));
}

Written saveToFolder(const Stored& a)
{
    const QDir dir(folder());
    const QString path = dir.filePath(safeBaseName(a.cmt) + safeExtension(a.pictype));
    // The name cannot leave the folder; this holds it to that.
    if (QFileInfo(path).absoluteDir() != QDir(dir.absolutePath()))
        return {{}, kWriteFailed};
    const QString error = writeFile(path, a.pic);
    return error.isEmpty() ? Written{path, {}} : Written{{}, error};
}

Written saveAs(const Stored& a, const QString& chosenName)
{
    const QString path = chosenName + safeExtension(a.pictype);
    const QString error = writeFile(path, a.pic);
    return error.isEmpty() ? Written{path, {}} : Written{{}, error};
}

QStringList descriptions()
{
    return dm().textColumn(QStringLiteral("select distinct cmt from zamaem order by cmt"));
}

bool remove(qint64 id)
{
    return dm().execAffected(QStringLiteral("delete from zamaem where id=?"), {id}) > 0;
}

} // namespace tavrin::attachments
