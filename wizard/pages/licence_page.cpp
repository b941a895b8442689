#include "wizard/pages/licence_page.h"

#include "app/setup_app.h"
#include "install/errors/xexception.h"
#include "install/tables/destination_table.h"
#include "platform/core/exceptions.h"
#include "platform/fs/file.h"

std::string ReadLicenceText(const std::string& path) {
  try {
    platform::File file;
    file.Open(path, platform::open_mode::kRead);
    std::string text;
    char buffer[4096];
    for (std::size_t got; (got = file.Read(buffer, sizeof buffer)) > 0;) text.append(buffer, got);
    file.Close();
    return text;
  } catch (const platform::FileException& error) {
    throw CXFileException(error.Cause(), error.FileName());
  }
}

LicencePage::LicencePage(int nextPageId)
    : PicturePage(kPageId, nextPageId, kBackPageId),
      text_(ReadLicenceText(JoinDirectory(SetupApp::Current().SourceDirectory(), kLicenceFileName))) {}

bool LicencePage::ActivatePage() {
  SetItemText(kLicenceText, text_);
  return PicturePage::ActivatePage();
}
