/* The least a skin folder costs to write safely: the files of a made skin, already in memory,
 * each written to a fresh temporary beside it (O_EXCL), every target looked at, then each
 * temporary renamed over its file, as the program's file transaction does. No picture is read
 * and nothing is composed, so what this takes is the file system's part of every run.
 *   write_floor FROM-FOLDER TO-FOLDER */
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

enum { kMaxFiles = 64, kPath = 4096 };

int main(int argc, char** argv) {
    if (argc != 3) {
        fputs("usage: write_floor FROM-FOLDER TO-FOLDER\n", stderr);
        return 2;
    }
    static char names[kMaxFiles][256], temporaries[kMaxFiles][kPath], path[kPath];
    char* bytes[kMaxFiles];
    size_t sizes[kMaxFiles];
    int count = 0;
    DIR* folder = opendir(argv[1]);
    for (struct dirent* e; folder && count < kMaxFiles && (e = readdir(folder));) {
        struct stat st;
        snprintf(path, sizeof path, "%s/%s", argv[1], e->d_name);
        int fd = e->d_name[0] == '.' ? -1 : open(path, O_RDONLY);
        if (fd < 0 || fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            if (fd >= 0) {
                close(fd);
            }
            continue;
        }
        bytes[count] = malloc((size_t)st.st_size);
        sizes[count] = read(fd, bytes[count], (size_t)st.st_size) == st.st_size ? st.st_size : 0;
        close(fd);
        snprintf(names[count++], sizeof names[0], "%s", e->d_name);
    }
    if (folder) {
        closedir(folder);
    }
    for (int i = 0; i < count; i++) {
        snprintf(temporaries[i], kPath, "%s/~kv%d-%d", argv[2], (int)getpid(), i);
        int fd = open(temporaries[i], O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 || write(fd, bytes[i], sizes[i]) != (ssize_t)sizes[i] || close(fd) != 0) {
            perror(temporaries[i]);
            return 1;
        }
    }
    for (int i = 0; i < count; i++) {
        struct stat st;
        snprintf(path, sizeof path, "%s/%s", argv[2], names[i]);
        stat(path, &st);
    }
    for (int i = 0; i < count; i++) {
        snprintf(path, sizeof path, "%s/%s", argv[2], names[i]);
        if (rename(temporaries[i], path) != 0) {
            perror(path);
            return 1;
        }
    }
    return count > 0 ? 0 : 1;
}
