set(PAYLOAD_CORE_SOURCES
  payload/Catalogue.cpp
)
