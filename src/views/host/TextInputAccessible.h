#pragma once

// What assistive tools see of a bare TextInput, such as a token's field.
// Qt Quick 6.4 hands them an input's text whatever its echo mode, so over
// AT-SPI any client could read a typed token back. This interface gives them
// what a hidden field shows instead: one mask character for each of the
// text's, or nothing without echo. In Normal mode they get the text, as
// before; role, name, state, focus and selection follow the item as Qt's own
// interface does. Controls' TextFields keep Qt's. Installed before the first
// window, since Qt keeps an item's interface for the item's life.
namespace TextInputAccessible {

void install();

} // namespace TextInputAccessible
