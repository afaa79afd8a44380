#pragma once

class QsciScintilla;

namespace qm {

// QScintilla's accessible text works out the caret's character offset from the start of the
// text on every screen update, even when no assistive technology listens: a second per key
// stroke or page at the end of a million-line program. While none listens, the document editors
// are described to the accessibility framework as plain editable widgets; once one starts
// listening, they get QScintilla's full text interface back.
void UseLightAccessibility(QsciScintilla& editor);

}  // namespace qm
