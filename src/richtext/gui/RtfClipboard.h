#pragma once
// Copy and paste through the clipboard: a selection goes out as RTF (under
// text/rtf and text/richtext) and as plain text in one QMimeData; a paste
// takes RTF when it is offered, else plain text, else a bitmap, which
// becomes an embedded picture.
#include <QMimeData>
#include <functional>
#include <memory>

class TWPRTFTextIo;
class TWPRTFTextInput;
struct TParagraph;

namespace wpclip {

extern const char* const kRtfMime;
extern const char* const kRichTextMime;

// The selection of document as mime data; null without a selection.
std::unique_ptr<QMimeData> SelectionMimeData(TWPRTFTextIo& document);
// Whether data holds text (rich or plain) to paste.
bool HoldsText(const QMimeData* data);
// Pastes data at the document's caret; true when something was inserted.
bool Paste(TWPRTFTextInput& document, const QMimeData& data,
           const std::function<void(TParagraph* par)>& beforePaste = {});

}  // namespace wpclip
