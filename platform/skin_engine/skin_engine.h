#pragma once
// The skin engine's one entry, as the program calls it after loading "jedata.dll" by name. A skin file is
// ".SHE", the bytes 00 03, then a Qt style sheet in UTF-8, which the engine applies to the application.

extern "C" {

// Returns 0 when the skin was applied, -1 when the file could not be read or is no skin. The second text
// is accepted and ignored.
int SkinH_AttachEx(const char* skin_path, const char* password);
}
