// The one application object. It lives in the executable itself so that the
// linker always keeps it (nothing else refers to it by name).
#include "app/jotstack_app.h"

CJotstackApp theApp;
