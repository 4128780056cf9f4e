// Ids of the program's string table, shared by the resource script and the
// code. The numbered ones are fixed settings of the product (addresses, its
// name and version); the messages, which the language files translate, are
// the rows of messages.h.
#pragma once

#define IDS_UPDATE_URL 65200
#define IDS_TRANSLATION_URL 65201
#define IDS_DONATE_URL 65202
#define IDS_PRODUCT_NAME 65219
#define IDS_VERSION_SUFFIX 65220
#define IDS_HOME_URL 65230
#define IDS_HELP_URL 65231

#ifndef RC_INVOKED
// The id of each message: IDS_FINISH, IDS_SWAP_NOTICE, ...
enum MessageId : unsigned {
#define VH_MESSAGE(id, number, key, english) id = number,
#include "messages.h"
#undef VH_MESSAGE
};
#endif
