/* A filesystem of one read-only file, bad.bin, 64 MiB long: its first
 * 8 MiB read as zeros, and any read past them fails with EIO, as a disk
 * with a bad sector does. For a read error in the middle of a file.
 *   failing_fs MOUNTPOINT      mounts it and returns; umount to end it */
#define FUSE_USE_VERSION 31
#include <fuse.h>

#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>

static const off_t kSize = 64 << 20;
static const off_t kReadable = 8 << 20;
static const char kPath[] = "/bad.bin";

static int fs_getattr(const char* path, struct stat* st, struct fuse_file_info* fi)
{
    (void)fi;
    memset(st, 0, sizeof *st);
    if (strcmp(path, "/") == 0) {
        st->st_mode = S_IFDIR | 0555;
        st->st_nlink = 2;
        return 0;
    }
    if (strcmp(path, kPath) != 0)
        return -ENOENT;
    st->st_mode = S_IFREG | 0444;
    st->st_nlink = 1;
    st->st_size = kSize;
    return 0;
}

static int fs_readdir(const char* path, void* buf, fuse_fill_dir_t fill, off_t offset, struct fuse_file_info* fi,
                      enum fuse_readdir_flags flags)
{
    (void)offset, (void)fi, (void)flags;
    if (strcmp(path, "/") != 0)
        return -ENOENT;
    fill(buf, ".", NULL, 0, 0);
    fill(buf, "..", NULL, 0, 0);
    fill(buf, kPath + 1, NULL, 0, 0);
    return 0;
}

static int fs_open(const char* path, struct fuse_file_info* fi)
{
    if (strcmp(path, kPath) != 0)
        return -ENOENT;
    if ((fi->flags & O_ACCMODE) != O_RDONLY)
        return -EACCES;
    fi->direct_io = 1;  /* no page cache: every read reaches fs_read */
    return 0;
}

/* Whole reads up to kReadable; one that reaches past it fails. */
static int fs_read(const char* path, char* buf, size_t size, off_t offset, struct fuse_file_info* fi)
{
    (void)path, (void)fi;
    if (offset >= kSize)
        return 0;
    if (offset + (off_t)size > kReadable)
        return -EIO;
    memset(buf, 0, size);
    return (int)size;
}

static const struct fuse_operations kOperations = {
    .getattr = fs_getattr,
    .readdir = fs_readdir,
    .open = fs_open,
    .read = fs_read,
};

int main(int argc, char* argv[])
{
    return fuse_main(argc, argv, &kOperations, NULL);
}
