#include "gui/keys/TypedKeyDialog.h"

namespace kyv::gui {

TypedKeyResult TypedKeyDialog::Run(const QWidget* mainWindow, bool encrypting)
{
    Prepare(mainWindow, encrypting);
    exec();
    return TakeResult();
}

TypedKeyResult TypedKeyDialog::TakeResult()
{
    return TakeTypedKeyResult(answeredYes, answeredNo, acceptedText_);
}

void TypedKeyDialog::ResetAnswer()
{
    acceptedText_.Clear();
    answeredYes = false;
    answeredNo = false;
}

void TypedKeyDialog::SetAnswer(TypedKeyAnswer answer, SecureBytes text)
{
    answeredYes = answer == TypedKeyAnswer::Yes;
    answeredNo = answer == TypedKeyAnswer::No;
    acceptedText_ = std::move(text);
}

}  // namespace kyv::gui
