// Ids of the program's string table, shared by the resource script and the
// code. The numbered ones are fixed; the rest are the program's own texts.
#pragma once

#define IDS_UPDATE_URL 65200
#define IDS_TRANSLATION_URL 65201
#define IDS_DONATE_URL 65202
#define IDS_PRODUCT_NAME 65219
#define IDS_VERSION_SUFFIX 65220
#define IDS_UNSUPPORTED_SYSTEM 65227
#define IDS_HOME_URL 65230
#define IDS_HELP_URL 65231

#define IDS_FINISH 64000
#define IDS_STOP_PROCESS 64001
#define IDS_CANNOT_ANALYZE 64002
#define IDS_ADVICE_PREFIX 64003
#define IDS_ADVICE_SUFFIX 64004
#define IDS_RESTART_NOTICE 64005
#define IDS_RESTORE_FAILED 64006
#define IDS_CAN_NOT_BE_FOUND 64007
