#pragma once

// The shell's pages are built for the application's one document.
#include "document/veko2012_doc.h"
