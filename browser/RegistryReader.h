// Reading text values from the registry, for the browser launcher and the
// load-time access probe. Every key is opened with KEY_READ only.
#pragma once
#include "platform/WinSeam.h"
#include "util/CMsString.h"

// Reads a REG_SZ or REG_EXPAND_SZ value (the key's unnamed value when
// valueName is null); an expanded value is returned expanded. On success *out
// receives a new zero-terminated buffer (new[]; the caller frees it with
// delete[]) and the result is 1. Otherwise the result is 0 and *out is a new
// copy of defaultValue, or null when there is none. A null out reads nothing.
int ReadRegistryValue(HKEY root, const char* keyPath, const char* valueName, char** out,
                      const char* defaultValue);

// ReadRegistryValue into a string (empty when nothing was read and there is no
// default); returns the string's length.
int RegReadString(HKEY root, const char* keyPath, const char* valueName, CMsString& out,
                  const char* defaultValue);

// 1 when the key can be opened for reading, else 0.
int RegKeyExists(HKEY root, const char* keyPath);
