#include "uploader.h"

#include <curl/curl.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <mutex>

#include "atomic_file.h"
#include "member_name.h"

namespace velmhost {

namespace fs = std::filesystem;

namespace {

UploadResult Failure(std::string error) { return {false, std::move(error)}; }

UploadResult UploadToFolder(const std::vector<UploadFile>& files, const fs::path& folder) {
  for (const auto& file : files) {
    const fs::path target = folder / file.relativePath;
    try {
      fs::create_directories(target.parent_path());
      std::ifstream in(file.absolutePath, std::ios::binary);
      if (!in) return Failure(file.absolutePath + ": cannot open");
      velmtools::WriteFileAtomically(target, [&](std::ostream& out) { out << in.rdbuf(); });
    } catch (const std::exception& error) {
      return Failure(file.relativePath + ": " + error.what());
    }
  }
  return {true, {}};
}

struct CurlDeleter {
  void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct FileDeleter {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

std::string EscapedPath(CURL* curl, const std::string& relative) {
  std::string escaped;
  std::size_t start = 0;
  while (true) {
    const std::size_t slash = relative.find('/', start);
    const std::string part = relative.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
    char* encoded = curl_easy_escape(curl, part.c_str(), static_cast<int>(part.size()));
    escaped += encoded;
    curl_free(encoded);
    if (slash == std::string::npos) return escaped;
    escaped += '/';
    start = slash + 1;
  }
}

UploadResult UploadToFtp(const std::vector<UploadFile>& files, const PublishTarget& target, const PublishSettings& account) {
  static std::once_flag initialised;
  std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
  // One handle for every file, so that curl keeps the control connection.
  std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
  if (!curl) return Failure("curl: cannot start");
  char message[CURL_ERROR_SIZE];
  for (const auto& file : files) {
    std::unique_ptr<std::FILE, FileDeleter> in(std::fopen(file.absolutePath.c_str(), "rb"));
    if (!in) return Failure(file.absolutePath + ": cannot open");
    std::error_code sizeError;
    const auto size = fs::file_size(file.absolutePath, sizeError);
    if (sizeError) return Failure(file.absolutePath + ": " + sizeError.message());
    const std::string url = target.url + EscapedPath(curl.get(), file.relativePath);
    message[0] = '\0';
    CURL* handle = curl.get();
    curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    curl_easy_setopt(handle, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(handle, CURLOPT_READDATA, in.get());
    curl_easy_setopt(handle, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(size));
    curl_easy_setopt(handle, CURLOPT_FTP_CREATE_MISSING_DIRS, static_cast<long>(CURLFTP_CREATE_DIR_RETRY));
    curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, message);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, 20L);
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, 60L);
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    if (!account.login.empty()) {
      curl_easy_setopt(handle, CURLOPT_USERNAME, account.login.c_str());
      curl_easy_setopt(handle, CURLOPT_PASSWORD, account.password.c_str());
    }
    if (target.explicitTls) curl_easy_setopt(handle, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
    if (!target.caFile.empty()) curl_easy_setopt(handle, CURLOPT_CAINFO, target.caFile.c_str());
    const CURLcode code = curl_easy_perform(handle);
    if (code != CURLE_OK) {
      return Failure(file.relativePath + ": " + (message[0] != '\0' ? std::string(message) : curl_easy_strerror(code)));
    }
  }
  return {true, {}};
}

}  // namespace

UploadResult Upload(const std::vector<UploadFile>& files, const PublishTarget& target, const PublishSettings& account) {
  for (const auto& file : files) {
    if (auto problem = velmtools::MemberNameProblem(file.relativePath)) {
      return Failure(file.relativePath + ": unsafe publishing path: " + *problem);
    }
  }
  if (target.kind == PublishTarget::Kind::Folder) return UploadToFolder(files, target.folder);
  return UploadToFtp(files, target, account);
}

}  // namespace velmhost
