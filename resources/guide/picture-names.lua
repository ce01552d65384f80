-- The HTML guide's pictures lie beside it, each named after the guide.
function Image(image)
  image.src = "OrvanAdminUserGuide-" .. image.src
  return image
end
