#pragma once

#include "TextCodec.h"

namespace qm {

// The encoding a converted text is written in: the program's own; for a plain-ASCII program the
// dictionary's, so that the comments arrive as they were written, but without a byte-order mark
// the program did not have.
inline FileEncoding ConvertedTextEncoding(FileEncoding program, FileEncoding dictionary) {
    if (program.encoding != Encoding::Ascii)
        return program;
    FileEncoding encoding = WritingEncoding(dictionary);
    encoding.byteOrderMark = false;
    return encoding;
}

}  // namespace qm
