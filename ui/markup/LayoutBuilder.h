// CLayoutBuilder: turns a skin XML document into a control tree. It loads the
// document (skin file, XML text or module resource), fills the manager's
// tables from the "Image", "Font", "Default" and "MultiLanguage" elements,
// hands the "Window" element's attributes to the manager and creates one
// control per element through the tag table (ControlTags.h). Drawing,
// layout and the controls' attributes are the controls' own.
// Invariant: every control it creates ends up owned by a parent, returned to
// the caller or deleted; a build never outgrows the bounds below.
#pragma once

#include <windows.h>

#include "ui/core/UIString.h"
#include "ui/markup/XmlDocument.h"

namespace DuiLib {

class CUIManager;
class IControlUI;
struct SkinDeclaration;

// Supplies controls for skin tags of the application's own.
class ILayoutBuilderCallback
{
public:
    virtual ~ILayoutBuilderCallback() = default;
    // A new control for a tag the tag table has no class for, or null.
    virtual IControlUI* MakeCustomControl(const wchar_t* className) = 0;
};

class CLayoutBuilder
{
public:
    // Bounds of one build, includes and their repetitions counted in. What
    // lies beyond them is skipped and LimitReached answers true: a document
    // that includes itself, or a huge "count", ends instead of exhausting
    // the stack or the memory.
    static constexpr int kMaxIncludeDepth = 10;      // nested "Include" elements
    static constexpr int kMaxElementDepth = 128;     // element levels, includes adding one each
    static constexpr int kMaxControls = 20000;       // controls created
    static constexpr int kMaxIncludeBuilds = 4096;   // repetitions of all "Include" elements

    CLayoutBuilder();
    CLayoutBuilder(const CLayoutBuilder&) = delete;
    CLayoutBuilder& operator=(const CLayoutBuilder&) = delete;

    // Loads xml and builds from it (see the overload below). xml is a
    // resource id of resourceType in integer-resource form (MAKEINTRESOURCEW),
    // XML text when it begins with '<', else a skin file name read as UTF-8
    // from the manager's skin settings. Null when xml is null or the document
    // cannot be loaded (the reason stays in Document()); the resource type is
    // kept only for a document loaded from a resource.
    IControlUI* Create(const wchar_t* xml, const wchar_t* resourceType, ILayoutBuilderCallback* callback,
                       CUIManager* manager, IControlUI* parent);
    // Builds from the document already loaded: with a manager, registers the
    // document's images, fonts, default attribute lists and language texts
    // and, when the manager has a window and the root element is "Window",
    // applies the root's attributes to the window; then creates the controls
    // of the root's child elements, each configured with the manager's
    // default list for its tag as written and then its own attributes.
    // Top-level controls are added to parent (null: the first one is the new
    // root, further ones are deleted). Answers the first control created at
    // the top level, an included one too; null when none is, or when parent
    // has no child list.
    IControlUI* Create(ILayoutBuilderCallback* callback, CUIManager* manager, IControlUI* parent);

    CXmlDocument& Document() { return m_document; }
    // True when the last build skipped something at one of the bounds.
    bool LimitReached() const { return m_state->limitReached; }

private:
    // Counters of one build, shared with the builders of its includes.
    struct BuildState
    {
        int includeDepth = 0;
        int elementDepth = 0;
        int controls = 0;
        int includeBuilds = 0;
        bool limitReached = false;
    };

    explicit CLayoutBuilder(BuildState* shared);

    void RegisterResources(const CXmlNode& root, CUIManager* manager);
    // Builds the child elements of node under parent; the first control
    // created at this level, or null.
    IControlUI* Parse(const CXmlNode& node, IControlUI* parent, CUIManager* manager);
    IControlUI* ParseLevel(const CXmlNode& node, IControlUI* parent, CUIManager* manager);
    // Builds an "Include" element's document "count" times under parent;
    // the first control built, or null.
    IControlUI* Include(const SkinDeclaration& include, IControlUI* parent, CUIManager* manager);
    // The tag table, then the callback, then the manager's control factories.
    IControlUI* MakeControl(const wchar_t* tag) const;
    // Applies the manager's default list for tag, then the element's own
    // attributes, with the control bound to manager meanwhile (as a child of
    // parent, the control it is about to join, when it has none yet).
    void Configure(IControlUI* control, const CXmlNode& element, CUIManager* manager, IControlUI* parent) const;

    CXmlDocument m_document;
    ILayoutBuilderCallback* m_callback = nullptr;
    // The type of the resource the document came from: null, an integer
    // resource type, or m_resourceTypeText's data.
    const wchar_t* m_resourceType = nullptr;
    CUIString m_resourceTypeText;
    BuildState m_ownState;
    BuildState* m_state;
};

}  // namespace DuiLib
