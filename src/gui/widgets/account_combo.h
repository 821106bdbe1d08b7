#pragma once
// The "Auto:" vehicle chooser of the record pages: a drop-down list of the
// account names.

class QComboBox;

namespace kelvane {

class configuration;

// Empties the list and fills it with the account names, highest slot first
// (each name is put in front of the ones before it, never sorted), then shows
// the open account as the choice.
void fill_account_combo(QComboBox& combo, const configuration& config);

// Writes the list in the largest font up to `largest` pixels in which every
// name fits the width the chooser has for its text, so that a chooser
// squeezed beside wide buttons (a translation) still shows whole names.
void fit_account_combo(QComboBox& combo, int largest);

// The width the chooser has for the chosen name, inside its frame and arrow.
int account_combo_text_width(const QComboBox& combo);

}  // namespace kelvane
