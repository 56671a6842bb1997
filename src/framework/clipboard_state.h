#pragma once
// Whether the clipboard holds text. Asking the clipboard is a round trip to
// its owner on X11, far too slow for a rule that is evaluated after every
// edit; the answer is therefore kept until the clipboard reports a change.

namespace fw {

bool ClipboardHasText();

} // namespace fw
