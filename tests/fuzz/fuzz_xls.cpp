// The spreadsheet reader on any bytes given as an .xls file.
#include "fuzz_spreadsheet.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = fuzz::scratchPath(".xls");
    fuzz::writeFile(path, QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    fuzz::readAndCheck(path);
    return 0;
}
