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

}  // namespace kelvane
