#pragma once

// Marks a text kept in the resources for the translators, who find it under
// its context; it is looked up in the user's language where it is shown.
#define MORVANE_TRANSLATABLE(context, text) text
