// Placeholder until the main screen lands.
namespace kelvane { int gui_placeholder = 0; }
