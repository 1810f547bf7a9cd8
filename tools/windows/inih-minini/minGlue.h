/* minIni's I/O glue for the Windows build: the "file" is INI text held in memory, read line by line. */
#ifndef QRV_MINGLUE_H
#define QRV_MINGLUE_H

#include <stddef.h>
#include <string.h>

typedef struct {
    const char* next; /* start of the next line; NULL at the end */
} qrv_ini_text;

/* Copies the next line (with its line end) into buffer, like fgets; the rest of a line longer than the
 * buffer is skipped, so it never reads as a line of its own. A line ends at LF, CR LF or CR. */
static inline int qrv_ini_read_line(char* buffer, int size, qrv_ini_text* text) {
    const char* p = text->next;
    if (p == NULL || *p == '\0' || size < 2) {
        return 0;
    }
    size_t len = strcspn(p, "\r\n");
    const char* end = p + len;
    if (*end == '\r') {
        ++end;
    }
    if (*end == '\n') {
        ++end;
    }
    const size_t keep = len < (size_t)(size - 2) ? len : (size_t)(size - 2);
    memcpy(buffer, p, keep);
    buffer[keep] = '\n';
    buffer[keep + 1] = '\0';
    text->next = end;
    return 1;
}

#define INI_FILETYPE qrv_ini_text
#define ini_openread(filename, file) (((file)->next = (filename)) != NULL)
#define ini_close(file) ((file)->next = NULL, 1)
#define ini_read(buffer, size, file) qrv_ini_read_line((buffer), (size), (file))
#define INI_FILEPOS const char*
#define ini_tell(file, pos) (*(pos) = (file)->next)
#define ini_seek(file, pos) ((file)->next = *(pos), 1)
#define INI_NOFLOAT

#endif
