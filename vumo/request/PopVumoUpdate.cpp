#include "request/PopVumoUpdate.h"

namespace Quorvia::vumo::request {

bool PopVumoUpdate::OnResponse(Quorvia::network::http::HTTP_RETURN_STATE,
                               const Quorvia::network::http::HTTP_RETURN_RESULT& result)
{
    return ReadUploadAnswer(result, "vumo_update_response");
}

} // namespace Quorvia::vumo::request
