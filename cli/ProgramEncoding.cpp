#include "ProgramEncoding.h"

namespace qm::cli {

FileEncoding ProgramEncoding(std::string_view bytes, EncodingChoice choice) {
    switch (choice) {
        case EncodingChoice::ShiftJis:
            return {Encoding::ShiftJis, false};
        case EncodingChoice::Utf8:
            return {Encoding::Utf8, bytes.starts_with("\xEF\xBB\xBF")};
        case EncodingChoice::Auto:
            break;
    }
    return DetectEncoding(bytes);
}

FileEncoding ResultEncoding(FileEncoding program, EncodingChoice choice) {
    switch (choice) {
        case EncodingChoice::ShiftJis:
            return {Encoding::ShiftJis, false};
        case EncodingChoice::Utf8:
            return {Encoding::Utf8, program.encoding == Encoding::Utf8 && program.byteOrderMark};
        case EncodingChoice::Auto:
            break;
    }
    return ConvertedTextEncoding(program);
}

}  // namespace qm::cli
