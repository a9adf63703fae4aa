#include "shell/DesktopShellServices.h"

#include "shell/Popup.h"

void DesktopShellServices::runWithProgressHUD(const std::function<int()>& job,
                                              const std::string& text,
                                              const std::function<void(int)>& completion) {
    ::runWithProgressHUD(text, job, completion);
}
