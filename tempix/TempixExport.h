#pragma once

#include <QtCore/qglobal.h>

// Symbols of the Tempix shared library: exported while the library itself is
// built, imported by everyone who links it.
#if defined(TEMPIX_LIBRARY)
#define TEMPIX_EXPORT Q_DECL_EXPORT
#else
#define TEMPIX_EXPORT Q_DECL_IMPORT
#endif
