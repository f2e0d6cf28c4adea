#pragma once

// Marks a Polish source text that reaches the user. The text passes through translate() where it
// is shown; the marker lets the language-file completeness check find every such text.
// Use it for every user-visible literal that is not written directly as translate("...").
#define PL(text) text
