// The spreadsheet reader on .xlsx files.  An input starting with "PK" is the
// file itself; any other input is the XML of a workbook's parts, separated by
// a line "--": the worksheet, then the shared strings, then the workbook and
// its relationships (each optional), packed into a valid zip so that the
// mutations reach the XML readers instead of stopping at the zip headers.
#include "fuzz_spreadsheet.h"

#include <minizip/zip.h>

namespace {

const char* const kRootRels =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
    "Target=\"xl/workbook.xml\"/></Relationships>";
const char* const kWorkbook =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
    "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
    "<sheets><sheet name=\"Sheet1\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>";
const char* const kWorkbookRels =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" "
    "Target=\"worksheets/sheet1.xml\"/>"
    "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings\" "
    "Target=\"sharedStrings.xml\"/></Relationships>";

void add(zipFile zip, const char* name, const QByteArray& bytes)
{
    FUZZ_CHECK(zipOpenNewFileInZip(zip, name, nullptr, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 1) == ZIP_OK);
    FUZZ_CHECK(zipWriteInFileInZip(zip, bytes.constData(), unsigned(bytes.size())) == ZIP_OK);
    FUZZ_CHECK(zipCloseFileInZip(zip) == ZIP_OK);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = fuzz::scratchPath(".xlsx");
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    if (input.startsWith("PK")) {
        fuzz::writeFile(path, input);
    } else {
        QList<QByteArray> xml;
        qsizetype from = 0;
        while (xml.size() < 4) {
            const qsizetype at = input.indexOf("\n--\n", from);
            xml.append(input.mid(from, at < 0 ? -1 : at - from));
            if (at < 0)
                break;
            from = at + 4;
        }
        QFile::remove(path);
        zipFile zip = zipOpen(QFile::encodeName(path).constData(), APPEND_STATUS_CREATE);
        FUZZ_CHECK(zip);
        add(zip, "_rels/.rels", kRootRels);
        add(zip, "xl/worksheets/sheet1.xml", xml.value(0));
        if (xml.size() > 1)
            add(zip, "xl/sharedStrings.xml", xml.value(1));
        add(zip, "xl/workbook.xml", xml.size() > 2 ? xml.value(2) : QByteArray(kWorkbook));
        add(zip, "xl/_rels/workbook.xml.rels", xml.size() > 3 ? xml.value(3) : QByteArray(kWorkbookRels));
        FUZZ_CHECK(zipClose(zip, nullptr) == ZIP_OK);
    }
    fuzz::readAndCheck(path);
    return 0;
}
