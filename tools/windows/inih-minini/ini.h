/* The part of inih's interface that the settings reader uses, for the Windows build: implemented over
 * minIni's ini_browse(), which likewise hands every entry (section, name, value) to a callback in file order.
 */
#ifndef QRV_INI_H
#define QRV_INI_H

#ifdef __cplusplus
extern "C" {
#endif

typedef int (*ini_handler)(void* user, const char* section, const char* name, const char* value);

/* Parses INI text held in memory; returns 0 (entries the text cannot hold are skipped, as inih goes on). */
int ini_parse_string(const char* string, ini_handler handler, void* user);

#ifdef __cplusplus
}
#endif

#endif
