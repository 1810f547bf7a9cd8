#include "ini.h"

#include "minIni.h"

typedef struct {
    ini_handler handler;
    void* user;
} qrv_ini_call;

static int each_entry(const char* section, const char* key, const char* value, void* data) {
    const qrv_ini_call* call = (const qrv_ini_call*)data;
    call->handler(call->user, section, key, value);
    return 1; /* go on, as inih does */
}

int ini_parse_string(const char* string, ini_handler handler, void* user) {
    qrv_ini_call call = {handler, user};
    ini_browse(each_entry, &call, string);
    return 0;
}
