#pragma once
// Two ordinary accounts (alice with a usage record, bob without) and the built-in
// administrator signed in.

#include "store/Identifiers.h"

#include "DatabaseFixture.h"

namespace xr::test {

inline const QString kAliceId = QStringLiteral("200403010800000");
inline const QString kBobId = QStringLiteral("200403010800001");

class AdministrationFixture : public DatabaseFixture {
protected:
    AdministrationFixture()
    {
        addUser(kAliceId, QStringLiteral("alice"));
        addUser(kBobId, QStringLiteral("bob"));
        run(QStringLiteral("insert into XRRecord (RecordId,Sdt,Edt,UserId,ConnName) values ('1', 100.0, 101.0, '%1', 'Office')").arg(kAliceId));
        context.currentConnection = {kBuiltInUserId, QStringLiteral("admin"), {}, 0, 0, true};
    }
};

} // namespace xr::test
