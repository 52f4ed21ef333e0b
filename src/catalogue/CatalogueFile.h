#pragma once

#include <QString>

// Creates the catalogue file with its empty table avib, indexed by day (drq),
// and the folders on the way, when no file exists at path. An existing file
// is never touched, so an older catalogue without the index stays as it is.
// Returns true when it made the file, false when one was already there;
// raises AppError when the file cannot be made.
bool createCatalogueFile(const QString &path);
