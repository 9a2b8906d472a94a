#include <gtest/gtest.h>

#include <string>

#include "framework/LinkRules.h"
#include "framework/NameOwner.h"
#include "framework/SecurityRules.h"

namespace {

// Only an owner that no ordinary user can give an object makes the lock's
// name another kit's; a user's, an object without owner, or an owner that
// can't be read leaves the name to someone else, and the kit goes on.
TEST(HolderOfName, OnlyAdministratorsOrSystemMeanAnotherKit) {
    for (const char* kit : {"S-1-5-32-544", "S-1-5-18"})
        EXPECT_EQ(fw::HolderOfName(kit), fw::NameHolder::AnotherInstance) << kit;
    for (const char* other : {"S-1-5-21-0-0-0-1000", "S-1-5-32-545", "S-1-5-32-5440", "S-1-5-19", "S-1-1-0", ""})
        EXPECT_EQ(fw::HolderOfName(other), fw::NameHolder::SomeoneElse) << other;
}

// Who can change an object, told from its descriptor as Windows writes it.
// A link is followed only when neither it nor the folder it is in can be
// changed by anybody but Administrators, SYSTEM and TrustedInstaller; the
// kit's own folders are trusted only when nobody else can change them or
// what is in them. Whatever the parser doesn't understand is trusted by
// neither rule.
TEST(SecurityRules, OwnersAndWhatTheDaclAllows) {
    const std::string ti = "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";
    const std::string adminOnly = "O:BAD:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)";
    const struct {
        const char* what;
        std::string sddl;
        bool onlyAdministrators;  // OnlyAdministratorsCanChange(sddl)
        bool asLink;              // MayFollowLink(sddl, adminOnly)
        bool asParent;            // MayFollowLink(adminOnly, sddl)
    } cases[] = {
        {"administrators and system only", adminOnly, true, true, true},
        {"the same, written out and with a group",
         "O:S-1-5-32-544G:S-1-5-18D:P(A;;FA;;;S-1-5-32-544)(A;;0x1f01ff;;;S-1-5-18)", true, true, true},
        // The drive's root: users may make folders in it, and modify what is
        // made there; adding a folder retargets no link.
        {"drive root",
         "O:SYD:AI(A;OICIIO;SDGXGWGR;;;AU)(A;;0x4;;;AU)(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)", false,
         true, true},
        {"Program Files",
         "O:" + ti + "D:PAI(A;;FA;;;" + ti + ")(A;CIIO;GA;;;" + ti +
             ")(A;;0x1301bf;;;SY)(A;OICIIO;GA;;;SY)(A;;0x1301bf;;;BA)(A;OICIIO;GA;;;BA)(A;;0x1200a9;;;BU)"
             "(A;OICIIO;GXGR;;;BU)(A;OICIIO;GA;;;CO)(A;;0x1200a9;;;AC)(A;OICIIO;GXGR;;;AC)",
         false /* owned by TrustedInstaller */, true, true},
        {"ProgramData: users add files and folders",
         "O:SYD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICIIO;GA;;;CO)(A;OICI;0x1200a9;;;BU)(A;CI;0x100116;;;BU)", false,
         false, true},
        {"users modify", "O:BAD:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1301bf;;;BU)", false, false, true},
        {"users may only add a subfolder", "O:BAD:P(A;;FA;;;BA)(A;;LC;;;BU)", false, true, true},
        {"users may delete children", "O:BAD:P(A;;FA;;;BA)(A;;DT;;;BU)", false, true, false},
        {"everyone may change its security", "O:BAD:P(A;;FA;;;BA)(A;;WD;;;WD)", false, false, false},
        {"users may change its attributes (and so the reparse data)", "O:BAD:P(A;;FA;;;BA)(A;;0x100;;;BU)", false,
         false, true},
        {"an allowed object entry", "O:BAD:P(A;;FA;;;BA)(OA;;GA;;;BU)", false, false, false},
        {"a deny entry for users", "O:BAD:P(A;;FA;;;BA)(D;OICI;FA;;;BU)", true, true, true},
        {"a user's", "O:S-1-5-21-1-2-3-1001D:PAI(A;OICI;FA;;;S-1-5-21-1-2-3-1001)(A;OICI;FA;;;BA)", false, false,
         false},
        {"a user's with administrators' entries only", "O:S-1-5-21-1-2-3-1001D:P(A;;FA;;;BA)", false, false, false},
        {"TrustedInstaller's, administrators full control", "O:" + ti + "D:P(A;;FA;;;BA)(A;;FA;;;" + ti + ")", false,
         true, true},
        {"NULL DACL", "O:BAD:NO_ACCESS_CONTROL", false, false, false},
        {"no DACL read", "O:BA", false, false, false},
        {"empty DACL", "O:BAD:P", true, true, true},
        {"owner rights", "O:BAD:P(A;;FA;;;BA)(A;;FA;;;OW)", true, true, true},
        {"creator owner, inherit-only", "O:BAD:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICIIO;GA;;;CO)", true, true,
         true},
        {"creator owner on the folder itself", "O:BAD:P(A;;FA;;;BA)(A;;GA;;;CO)", false, false, false},
        {"users write what is made inside", "O:BAD:P(A;;FA;;;BA)(A;OICIIO;GW;;;BU)", false, true, true},
        {"users read, list and execute", "O:BAD:P(A;;FA;;;BA)(A;OICI;FRFX;;;BU)(A;;0x1200a9;;;AU)", true, true, true},
        {"unknown rights code", "O:BAD:P(A;;FA;;;BA)(A;;QQ;;;BU)", false, false, false},
        {"unknown flag", "O:BAD:P(A;ZZ;FA;;;BA)", false, false, false},
        {"conditional entry", "O:BAD:P(A;;FA;;;BA)(XA;;FR;;;WD;(@User.x == 1))", false, false, false},
        {"unclosed entry", "O:BAD:P(A;;FA;;;BA", false, false, false},
        {"a SACL", "O:BAD:P(A;;FA;;;BA)S:(AU;SA;FA;;;WD)", false, false, false},
        {"bad SID", "O:BAD:P(A;;FA;;;S-1-)", false, false, false},
        {"lowercase owner", "O:baD:P(A;;FA;;;BA)", false, false, false},
        {"not SDDL", "garbage", false, false, false},
        {"unread", "", false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(fw::OnlyAdministratorsCanChange(c.sddl), c.onlyAdministrators) << c.sddl;
        EXPECT_EQ(fw::MayFollowLink(c.sddl, adminOnly), c.asLink) << c.sddl;
        EXPECT_EQ(fw::MayFollowLink(adminOnly, c.sddl), c.asParent) << c.sddl;
    }
}

// Only reparse points that name another place are links; files that a
// filter keeps deduplicated, compressed or in the cloud are ordinary files.
TEST(IsLinkTag, NameSurrogatesOnly) {
    for (unsigned long link :
         {0xA000000CUL, 0xA0000003UL, 0xA000001DUL, 0UL})  // symbolic link, junction, AF_UNIX, unread
        EXPECT_TRUE(fw::IsLinkTag(link)) << std::hex << link;
    for (unsigned long file :
         {0x80000013UL, 0x80000017UL, 0x9000001AUL, 0x9000601AUL, 0x80000014UL})  // dedup, WOF, cloud, NFS
        EXPECT_FALSE(fw::IsLinkTag(file)) << std::hex << file;
}

}  // namespace
