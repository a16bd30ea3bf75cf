<CurvanaSlides>
  <CurvanaDocument>
</CurvanaSlides>
