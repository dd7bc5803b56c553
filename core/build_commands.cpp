// Build, Publish All and the public link: the module selects and reports,
// the host runs, uploads and opens.
#include <velmkit/dialogs.h>
#include <velmkit/host.h>
#include <velmkit/pagewin.h>
#include <velmkit/pubframe.h>
#include <velmkit/termwin.h>
#include <velmkit/tree.h>

#include "classifier_form.h"

namespace velmcore {

void RunBuildEntry(ClassifierForm& form, int index) {
    auto* frame = dynamic_cast<velmkit::TPubFrame*>(form.GetObject(0));
    velmkit::TStringList* buildList = frame ? frame->BuildList() : nullptr;
    if (!buildList || index < 0 || index >= buildList->Count()) {
        return;
    }
    auto* terminal = dynamic_cast<velmkit::TTermWin*>(buildList->Objects(index));
    const std::string entry = buildList->Strings(index);
    velmkit::TVelmContainer* item = frame->ObjectOfName(entry);
    velmkit::TVelmTreeNode* node = item ? item->GetTreeNode() : nullptr;
    if (!terminal || !node) {
        return;
    }
    node->SetChecked(false);
    if (velmkit::TVelmCustomTreeView* view = node->VelmTreeView()) {
        view->SelectObject(item);
        if (auto* pages = view->VelmWin<velmkit::TPageWin>()) {
            for (int i = 0; i < pages->GetPageCount(); ++i) {
                velmkit::TPageTab* page = pages->GetPage(i);
                if (page && page->Caption() == entry) {
                    pages->SetActivePage(page);
                    break;
                }
            }
        }
    }
    // A running terminal is restarted: deactivated first, then activated.
    if (terminal->GetActive()) {
        terminal->SetActive(false);
    }
    node->SetChecked(true);
    terminal->SetActive(true);
}

void ClassifierForm::BuildAllClick(velmkit::TObject* /*sender*/) {
    RunBuildEntry(*this, moduleSettings().buildIndex);
}

void ClassifierForm::PublishAllClick(velmkit::TObject* /*sender*/) {
    auto* frame = dynamic_cast<velmkit::TPubFrame*>(GetObject(0));
    if (!frame) {
        return;
    }
    if (!frame->Publish(nullptr)) {
        velmkit::ShowMessage("Publish " + frame->PublicUrl() + " Error!");
        return;
    }
    if (frame->PublicUrl().empty() && !PublicUrlBase().empty()) {
        frame->SetPublicUrl(PublicUrlBase() + frame->Name() + "/");
    }
    velmkit::ShowMessage("Publish " + frame->PublicUrl() + " Success!");
}

void ClassifierForm::PublicLinkClick(velmkit::TObject* /*sender*/, const std::string& link,
                                     velmkit::TSysLinkType /*linkType*/) {
    auto* frame = dynamic_cast<velmkit::TPubFrame*>(GetObject(0));
    velmkit::OpenAddress(frame && !frame->PublicUrl().empty() ? frame->PublicUrl() : link);
}

}  // namespace velmcore
