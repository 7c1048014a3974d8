// SPDX-License-Identifier: MIT
#include "print_commands.h"

#include "tphoto.h"

namespace {

print::PrintContext makeContext(QWidget* window, TPhoto& photo, TPhoto& logo, print::PrinterChoice& printer,
                                TellUser inform) {
    print::PrintContext context;
    context.window = window;
    context.photo = &photo;
    context.logo = &logo;
    context.printer = &printer;
    context.inform = std::move(inform);
    return context;
}

} // namespace

PrintCommands::PrintCommands(const Windows& windows, TPhoto& photo, TPhoto& logo, ShowDocument& show,
                             std::function<QString()> showName, TellUser inform)
    : context_(makeContext(windows.mainWindow, photo, logo, printer_, std::move(inform))),
      showPrint_(context_, show, *windows.printDialog, std::move(showName)),
      imagePrint_(context_, *windows.imageDialog) {}

void PrintCommands::FilePrintSetup() {
    printer_.setup(context_.window);
}
