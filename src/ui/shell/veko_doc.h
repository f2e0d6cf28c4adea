#pragma once

// The shell's pages are built for the application's one document.
#include "config/document/veko2012_doc.h"
