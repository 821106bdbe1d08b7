#pragma once
// The logic of the key mapping screen: a working copy of
// the key table that the owner fills by pressing keys, the presets, the trace
// of captured keys in "Debug.txt", and the texts the screen draws for each
// slot, so that the screen itself only paints.

#include <cstdint>
#include <string>

#include "core/tools/key_table.h"

namespace kelvane {

inline constexpr char16_t key_capture_log_name[] = u"Debug.txt";

// What the screen draws for one slot.
struct key_slot_text {
    enum class look { hidden, mapped, awaiting };
    look shown = look::hidden;  // mapped in black, awaiting (the next slot to fill) in red
    int column = 0;             // 0 for slots 0-5, 1 for slots 6-11
    int row = 0;                // 0-5 from the top
    std::u16string key;         // the key's name, or "[?]" while awaiting
    std::u16string code;        // "[%d]" with the key code; empty while awaiting
    std::u16string arrow;       // ">"
    std::u16string character;   // the slot's character; "c" in the right column reads "Clear"

    std::u16string line() const { return key + code + arrow + character; }
};

class key_capture {
public:
    // The button that restarts the capture at the first slot.
    static constexpr int restart_button_id = 1001;

    // Opens on a copy of the table; not capturing.
    explicit key_capture(const key_table& table);

    // "Start Setting Keys": a separator in the trace, every key code cleared,
    // capture from the first slot.
    void start();
    // A key pressed on the screen. While capturing, the key is traced, stored
    // in the slot at the capture position and the position advances; after the
    // last used slot the capture ends. False when nothing was captured.
    bool capture(std::uint16_t key_code);
    // The restart button: capture again from the first slot, keeping the key
    // codes and tracing nothing.
    void restart() { position_ = 0; }
    // A preset fills the working copy; a capture under way goes on.
    void apply_preset(key_preset preset) { working_.apply_preset(preset); }

    // "Save": the working copy becomes the table and is written to its file.
    // False when the file could not be written (the owner has been told; the
    // table in memory is updated all the same).
    [[nodiscard]] bool save_to(key_table& table) const;

    const key_table& working() const { return working_; }
    // The slot to be filled next, or -1 when not capturing.
    int position() const { return position_; }
    bool capturing() const { return position_ >= 0; }

    // The line at the top of the screen.
    std::u16string heading() const;
    // What to draw for slot i (0-11); nothing for any other slot.
    key_slot_text slot_text(int i) const;
    // The name of a key as the screen and the trace show it.
    static std::u16string key_name(std::uint16_t key_code);

private:
    // Appends UTF-16LE text to the trace in the data folder, creating it with
    // its byte-order mark first. A trace that cannot be written is skipped.
    static void trace(std::u16string_view text);

    key_table working_;
    int position_ = -1;
};

}  // namespace kelvane
