// CChildLayoutUI: a container whose content is built from a skin file of
// its own when the control is initialised. The control layer cannot call
// the layout builder (which sits above it), so the builder hands it a build
// function at start-up (SetSkinBuilder).
// Invariant: nested child layouts build at most kMaxNesting levels deep.
#pragma once

#include "ui/control/ContainerUI.h"

namespace DuiLib {

// Builds skin file with manager (null allowed) and returns the first
// control made, owned by the caller, or null when nothing could be built.
using ChildSkinBuilder = IControlUI* (*)(const wchar_t* file, CUIManager* manager);

class CChildLayoutUI : public CContainerUI
{
public:
    // A skin file whose child layouts name the file again ends here instead
    // of exhausting the stack.
    static constexpr int kMaxNesting = 8;

    // Installs the build function every child layout uses; null removes it.
    static void SetSkinBuilder(ChildSkinBuilder builder);

    // "ChildLayout".
    const wchar_t* GetClass() const override;
    // This control for "ChildLayout"; other names as the control base answers
    // them, so it has no "IContainer" for the builder to add children to.
    void* CastTo(const wchar_t* name) override;
    // Replaces the base's initialisation: with a file name, builds the file
    // and holds the result as its only child (an earlier content is removed
    // first); when nothing can be built the layout ends up empty.
    void Init() override;
    // "xmlfile", then the container's attributes.
    const ControlAttributeTable& GetAttributeTable() const override;

    const CUIString& GetChildLayoutXML() const { return m_xmlFile; }
    // Stores the file name; it is built at the next initialisation.
    void SetChildLayoutXML(const wchar_t* file) { m_xmlFile = file != nullptr ? file : L""; }

private:
    static ChildSkinBuilder s_builder;
    static int s_nesting;

    CUIString m_xmlFile;
};

}  // namespace DuiLib
