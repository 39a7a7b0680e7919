// Resource ids of the start-up benchmark's bare dialog (bare_dialog.rc).
#pragma once

#define IDD_BARE 100
#define IDB_BARE_SKIN 182 // the program's skin, drawn at build time
