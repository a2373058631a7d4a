#ifndef OPTIONSMETATYPES_H
#define OPTIONSMETATYPES_H

#include "globaloptions.h"
#include "multimeterdisplayoptions.h"
#include "pythonconsoleoptions.h"
#include "scopeoptions.h"

#include <QMetaType>

// The options map carries each options object as a pointer in a QVariant.
Q_DECLARE_METATYPE(GlobalOptions *)
Q_DECLARE_METATYPE(PythonConsoleOptions *)
Q_DECLARE_METATYPE(ScopeOptions *)
Q_DECLARE_METATYPE(MultimeterDisplayOptions *)

#endif // OPTIONSMETATYPES_H
