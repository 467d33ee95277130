#pragma once
// The stand-in's COM classes: dispatch objects that accept exactly the argument lists of
// server_objects.h, log every call, and reject the others with DISP_E_BADPARAMCOUNT or
// DISP_E_TYPEMISMATCH; a property access or a named argument is refused as well.

#include <objbase.h>
#include <oleauto.h>
#include <windows.h>

#include <string>

#include "server_objects.h"

namespace tolva::standin {

// Objects and class factories alive, and server locks: the library may unload at zero.
extern LONG g_serverUsers;

// Appends a line to the log beside the library.
void AppendToCallLog(const std::string& line);

// The class factory of a class; not counted as a user.
IClassFactory* ClassFactoryFor(const ServerClass& serverClass);

}  // namespace tolva::standin
