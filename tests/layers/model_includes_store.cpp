// Must not compile: the model layer sits below the store.
#include "store/NotificationsStore.h"
