/* Runs profile cases through the platform's own GetPrivateProfileStringA and
 * WritePrivateProfileStringA and writes what they give back, one line per
 * operation. Deliberately free of Tessaro's code: it is the reference.
 *
 *   profile_runner.exe CASES RESULTS
 *
 * Every byte string travels as "x" followed by its bytes in hex. Cases:
 *   case ID | file X | read XS XK XD SIZE | write XS XK XV | end
 * Results: "acp N" first, then per case "case ID" and "r COUNT X" or "w 0|1". */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

static char* Decode(const char* hex, size_t* length) {
    size_t n = strlen(hex + 1) / 2;
    char* out = malloc(n + 1);
    for (size_t i = 0; i < n; ++i) {
        unsigned byte = 0;
        sscanf(hex + 1 + 2 * i, "%2x", &byte);
        out[i] = (char)byte;
    }
    out[n] = '\0';
    if (length)
        *length = n;
    return out;
}

static void Encode(FILE* out, const char* bytes, size_t n) {
    fputc('x', out);
    for (size_t i = 0; i < n; ++i)
        fprintf(out, "%02x", (unsigned char)bytes[i]);
}

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: profile_runner CASES RESULTS\n");
        return 2;
    }
    FILE* in = fopen(argv[1], "rb");
    FILE* out = fopen(argv[2], "wb");
    if (!in || !out) {
        fprintf(stderr, "cannot open the case or result file\n");
        return 2;
    }
    fprintf(out, "acp %u\n", GetACP());

    static char line[1 << 20];
    static char buffer[1 << 16];
    char path[MAX_PATH] = "";
    while (fgets(line, sizeof line, in)) {
        char* word[5] = {0};
        int words = 0;
        for (char* t = strtok(line, " \r\n"); t && words < 5; t = strtok(NULL, " \r\n"))
            word[words++] = t;
        if (words == 0)
            continue;
        if (!strcmp(word[0], "case") && words == 2) {
            char name[64];
            snprintf(name, sizeof name, "case%s.ini", word[1]);
            GetFullPathNameA(name, MAX_PATH, path, NULL);
            DeleteFileA(path);
            fprintf(out, "case %s\n", word[1]);
        } else if (!strcmp(word[0], "file") && words == 2) {
            size_t n = 0;
            char* content = Decode(word[1], &n);
            FILE* f = fopen(path, "wb");
            fwrite(content, 1, n, f);
            fclose(f);
            free(content);
        } else if (!strcmp(word[0], "read") && words == 5) {
            char* s = Decode(word[1], NULL);
            char* k = Decode(word[2], NULL);
            char* d = Decode(word[3], NULL);
            DWORD size = (DWORD)strtoul(word[4], NULL, 10);
            if (size > sizeof buffer)
                size = sizeof buffer;
            memset(buffer, 0, sizeof buffer);
            DWORD copied = GetPrivateProfileStringA(s, k, d, buffer, size, path);
            fprintf(out, "r %lu ", (unsigned long)copied);
            Encode(out, buffer, size ? strnlen(buffer, size) : 0);
            fputc('\n', out);
            free(s);
            free(k);
            free(d);
        } else if (!strcmp(word[0], "write") && words == 4) {
            char* s = Decode(word[1], NULL);
            char* k = Decode(word[2], NULL);
            char* v = Decode(word[3], NULL);
            fprintf(out, "w %d\n", WritePrivateProfileStringA(s, k, v, path) ? 1 : 0);
            free(s);
            free(k);
            free(v);
        } else if (!strcmp(word[0], "end")) {
            /* Flushes the profile cache, so the file can go. */
            WritePrivateProfileStringA(NULL, NULL, NULL, path);
            DeleteFileA(path);
        }
    }
    fclose(in);
    fclose(out);
    return 0;
}
