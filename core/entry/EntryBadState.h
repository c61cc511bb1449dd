#pragma once
// The flag a page keeps so that a chain of focus changes gives one refusal, not one per box: a
// box left with a refused entry sets it, and while it stands the boxes left after it are not
// checked. Every new entry clears it: a key pressed in a box, and any change of a box's text
// however it came (typed, pasted, or set by the program, as Open Case and the calendars do).
// Text that arrives without a key press must count too, or the boxes filled that way are never
// checked and Continue refuses them for a flag that no longer says anything.

namespace tallex {

struct EntryBadState {
    bool entryBad = false;
    // The one entry point for a box whose text changed, whatever changed it.
    void TextChanged() { entryBad = false; }
};

}  // namespace tallex
