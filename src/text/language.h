#pragma once

namespace zorva {
// The value stored in the state and the settings file: 1 German, 2 English.
enum class Language : int { German = 1, English = 2 };
}
