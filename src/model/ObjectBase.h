// The behaviour every object class shares, written once: identity forwarding to the core, the
// copy and exchange protocol, the edited mark and the dump framing.
#pragma once

#include "model/DumpFormat.h"
#include "model/KorObject.h"
#include "model/ObjectStore.h"
#include "model/ObjectTable.h"

#include <cassert>
#include <memory>
#include <new>
#include <tuple>
#include <type_traits>
#include <utility>

namespace kor {

/// Creates an object of class `T` with `args` as its initial values, under `objID` or under a
/// fresh ID from the context's ID source when `objID` is ZR_NO_OBJ_ID, and registers it in the
/// context's registry. The object starts unlinked with flags 0. Returns it (borrowed from the
/// registry), or null when the ID is taken or memory runs out.
template <class T, class... Args>
T* createObject(const ZRCreateContext& context, std::uint32_t objID, Args&&... args) {
    const std::uint32_t id = objID == ZR_NO_OBJ_ID ? context.idSource.allocateID() : objID;
    try {
        std::unique_ptr<T> obj(new (context.idSource.store()) T(id, std::forward<Args>(args)...));
        obj->setFlags(0);
        T* created = obj.get();
        return context.registry.registerObject(id, std::move(obj)) ? created : nullptr;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

/// Calls `visit(slot)`, by reference, for every child slot among `fields`, a tuple of references
/// to a class's child fields as its childFields hook makes it: a field is a single child pointer,
/// or a row, a vector or a style-keyed map of them. Empty slots are visited too.
template <class Fields, class Visit> void forEachChildSlot(Fields fields, Visit&& visit) {
    const auto visitField = [&](auto& field) {
        if constexpr (std::is_pointer_v<std::remove_cvref_t<decltype(field)>>)
            visit(field);
        else if constexpr (requires { field.forEachValue(visit); })
            field.forEachValue(visit);
        else
            for (auto& slot : field)
                visit(slot);
    };
    std::apply([&](auto&... field) { (visitField(field), ...); }, fields);
}

} // namespace kor

/// Base of every object class `Derived`, published through the read interface `ReadInterface`
/// and the shared write interface. `Core` is the identity record the object embeds and owns:
/// CZRKorObject, or for the part classes a whole CZRPart.
///
/// `Derived` provides `static constexpr ZRObjType kType`, a constructor from its ID alone (zero
/// values; cloneInto makes its copies with it) and, where it has them:
/// - `void copyValues(const Derived&)` and `void swapValues(Derived&)` for its own value fields;
/// - `bool copyChildren(const Derived& source, std::uint32_t copyFlags, const ZRCreateContext&)`
///   to rebuild its children in a deep copy, each through the child's own cloneInto;
/// - `template <class Self> static auto childFields(Self& self)`, a std::tie of its child fields
///   (single children, rows, vectors and style-keyed maps of them) in its fixed child order, for
///   getChildren, swapTree and relinkChildren;
/// - `void dumpFields(std::wstring&) const` for its dump line;
/// - `static constexpr bool kCopyable = false` if it refuses copying and exchange.
/// It overrides validate, correct and getSortKey directly where they mean something. Hooks may
/// be private when `Derived` befriends its TZRObject base.
template <class Derived, class ReadInterface, class Core = CZRKorObject>
class TZRObject : public ReadInterface, public IZRMutableKorObject {
public:
    static constexpr bool kCopyable = true;

    /// True when `obj` is of this class (by its type number).
    static bool classof(const IZRKorObject* obj) {
        return obj != nullptr && obj->getObjType() == Derived::kType;
    }

    TZRObject(const TZRObject&) = delete;
    TZRObject& operator=(const TZRObject&) = delete;

    /// Objects are placed only in a document's store (kor::createObject does it), so deleting one
    /// gives its slot back there; a plain `new` of an object class does not compile.
    static void* operator new(std::size_t size, CZRObjectStore& store) {
        static_assert(sizeof(Derived) <= CZRObjectStore::kMaxObjectSize &&
                      alignof(Derived) <= CZRObjectStore::kAlignment);
        return store.allocate(size);
    }
    /// Gives the slot back when the constructor throws.
    static void operator delete(void* p, CZRObjectStore&) noexcept {
        CZRObjectStore::release(p, sizeof(Derived));
    }
    static void operator delete(void* p, std::size_t size) noexcept {
        CZRObjectStore::release(p, size);
    }

    std::uint32_t getObjID() const final { return core_.getObjID(); }
    ZRObjType getObjType() const final { return core_.getObjType(); }
    IZRKorObject* getParent() const final { return core_.getParent(); }
    void getObjIDPath(std::vector<std::uint32_t>& path) const final { core_.getObjIDPath(path); }
    std::uint32_t getFlags() const final { return core_.getFlags(); }

    void getChildren(std::vector<IZRMutableKorObject*>& out) const final {
        kor::forEachChildSlot(Derived::childFields(derived()), [&](IZRMutableKorObject* child) {
            if (child != nullptr) out.push_back(child);
        });
    }
    void setObjType(ZRObjType type) final { core_.setObjType(type); }
    bool setParent(IZRMutableKorObject* parent) final { return core_.setParent(parent); }
    bool setFlags(std::uint32_t flags) final { return core_.setFlags(flags); }
    std::uint32_t validate() const override { return 0; }
    std::uint32_t correct(CZRObjectTable&, const ZRCreateContext&) override { return 0; }
    std::int32_t getSortKey() const override { return 0; }

    bool copyFrom(const IZRMutableKorObject* source, std::uint32_t copyFlags,
                  const ZRCreateContext* context) final {
        if constexpr (!Derived::kCopyable) {
            return false;
        } else {
            const auto* typed = dynamic_cast<const Derived*>(source);
            if (typed == nullptr || !core_.copyFrom(&typed->core_, copyFlags, context))
                return false;
            derived().copyValues(*typed);
            if ((copyFlags & ZR_COPY_DEEP) == 0) return true;
            return derived().copyChildren(*typed, copyFlags, *context);
        }
    }

    IZRMutableKorObject* cloneInto(const ZRCreateContext& context,
                                   std::uint32_t copyFlags) const final {
        if constexpr (!Derived::kCopyable) {
            return nullptr;
        } else {
            const bool keepIDs = (copyFlags & ZR_COPY_KEEP_IDS) != 0;
            Derived* copy =
                kor::createObject<Derived>(context, keepIDs ? getObjID() : ZR_NO_OBJ_ID);
            if (copy == nullptr) return nullptr;
            if (!copy->copyFrom(this, copyFlags, &context)) {
                context.registry.destroy(copy->getObjID());
                return nullptr;
            }
            return copy;
        }
    }

    bool swapContents(IZRMutableKorObject* other) final {
        if constexpr (!Derived::kCopyable) {
            return false;
        } else {
            auto* typed = dynamic_cast<Derived*>(other);
            if (typed == nullptr || !core_.swapContents(&typed->core_)) return false;
            derived().swapValues(*typed);
            return true;
        }
    }

    bool swapTree(IZRMutableKorObject* other) noexcept final {
        // The value fields first; this also refuses another class and classes that refuse copying.
        if (!swapContents(other)) return false;
        auto& typed = *dynamic_cast<Derived*>(other);
        auto mine = Derived::childFields(derived());
        auto theirs = Derived::childFields(typed);
        mine.swap(theirs); // a tuple of references swaps what they refer to
        const std::uint32_t myFlags = getFlags();
        const std::uint32_t theirFlags = typed.getFlags();
        (void)setFlags((myFlags & ~ZR_FLAG_EDITED) | (theirFlags & ZR_FLAG_EDITED));
        (void)typed.setFlags((theirFlags & ~ZR_FLAG_EDITED) | (myFlags & ZR_FLAG_EDITED));
        return true;
    }

    void relinkChildren(const CZRObjectTable& table) noexcept final {
        kor::forEachChildSlot(Derived::childFields(derived()), [&](auto*& slot) {
            if (slot == nullptr) return;
            using Child = std::remove_pointer_t<std::remove_reference_t<decltype(slot)>>;
            IZRMutableKorObject* held = table.lookup(slot->getObjID());
            if constexpr (std::is_same_v<Child, IZRMutableKorObject>) {
                if (held != nullptr) slot = held;
            } else if (Child::classof(held)) {
                slot = static_cast<Child*>(held);
            }
            (void)slot->setParent(this);
        });
    }

    void setEdited() final { core_.setEdited(); }
    void clearEdited() override {
        if ((core_.getFlags() & ZR_FLAG_EDITED) != 0) core_.clearEdited();
    }

    /// The record embeds its core, so its size already counts it.
    std::uint32_t getSize() const override { return sizeof(Derived); }

    void dump(std::wstring& out, int recursive) const final {
        out += kor::dumpLabel(Derived::kType);
        kor::dumpCore(out, *this);
        derived().dumpFields(out);
        if (recursive != 0) {
            std::vector<IZRMutableKorObject*> children;
            getChildren(children);
            for (const IZRMutableKorObject* child : children)
                child->dump(out, recursive);
        }
        out += L"} ";
    }

protected:
    explicit TZRObject(std::uint32_t objID)
        : core_(objID, Derived::kType) {}
    ~TZRObject() override = default;

    // Defaults for the hooks a class leaves out: no value fields, no children, no dump line.
    void copyValues(const Derived&) {}
    void swapValues(Derived&) {}
    bool copyChildren(const Derived&, std::uint32_t, const ZRCreateContext&) { return true; }
    template <class Self> static std::tuple<> childFields(Self&) { return {}; }
    void dumpFields(std::wstring&) const {}

    Core& core() { return core_; }
    const Core& core() const { return core_; }

private:
    const Derived& derived() const { return static_cast<const Derived&>(*this); }
    Derived& derived() { return static_cast<Derived&>(*this); }

    Core core_;
};

namespace kor {

/// `obj` as class `T` when its type number says it is one, else null.
template <class T> T* objCast(IZRKorObject* obj) {
    return T::classof(obj) ? dynamic_cast<T*>(obj) : nullptr;
}

template <class T> const T* objCast(const IZRKorObject* obj) {
    return T::classof(obj) ? dynamic_cast<const T*>(obj) : nullptr;
}

/// The same for an element of a list or the object table, the hot path of every walk over a
/// song: the write interface is a plain base of each class, so once the type number matches
/// the cast is a fixed pointer adjustment instead of a search of the class hierarchy.
template <class T> T* objCast(IZRMutableKorObject* obj) {
    T* typed = T::classof(obj) ? static_cast<T*>(obj) : nullptr;
    assert(typed == dynamic_cast<T*>(obj));
    return typed;
}

template <class T> const T* objCast(const IZRMutableKorObject* obj) {
    const T* typed = T::classof(obj) ? static_cast<const T*>(obj) : nullptr;
    assert(typed == dynamic_cast<const T*>(obj));
    return typed;
}

} // namespace kor
