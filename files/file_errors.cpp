#include "files/file_errors.h"

#include <cerrno>
#include <cstring>

std::string ErrnoText(int error) {
  switch (error) {
    case ENOENT:
      return "ファイルがありません";
    case EACCES:
    case EPERM:
      return "アクセス権がありません";
    case EISDIR:
      return "フォルダです";
    case ENOTDIR:
      return "途中のフォルダがありません";
    case ELOOP:
      return "シンボリックリンクが多すぎます";
    case ENAMETOOLONG:
      return "名前が長すぎます";
    case ENOSPC:
      return "ディスクの空きがありません";
    case EDQUOT:
      return "ディスクの使用量の上限です";
    case EROFS:
      return "読み取り専用のファイルシステムです";
    case EFBIG:
      return "ファイルが大きすぎます";
    case EIO:
      return "入出力エラーです";
    default:
      return std::strerror(error);
  }
}
